#include "urlmonitor/CUrlMonitor.h"

#include "core/RegistryLayout.h"
#include "urlmonitor/UrlCandidate.h"

namespace {

constexpr const char kEnabledLine[] = "URL Monitor Enabled.";
constexpr const char kDisabledLine[] = "URL Monitor Disabled.";
constexpr const char kStartingLine[] = "URL Monitor: Starting Vantrel.";
constexpr const char kUrlLinePrefix[] = "URL: ";

}  // namespace

CUrlMonitor::CUrlMonitor(SettingsStore& settings, ClipboardSource& clipboard,
                         KeyboardState& keyboard, UrlParser& parser, ClientLauncher& launcher)
    : settings_(settings),
      clipboard_(clipboard),
      keyboard_(keyboard),
      parser_(parser),
      launcher_(launcher) {}

void CUrlMonitor::Attach(LogSink& log) {
    log_ = &log;
    const uint32_t sequence = clipboard_.SequenceNumber();
    lastSeenText_ = clipboard_.GetClipboardText();
    if (!lastSeenText_.empty()) {
        seenSequence_ = sequence;
    }
}

bool CUrlMonitor::StartTimer(TimerHost& host) {
    enabled_ = true;
    return host.StartTimer(kUrlMonitorTimer, kUrlMonitorPeriodMs);
}

void CUrlMonitor::StopTimer(TimerHost& host) {
    enabled_ = false;
    host.StopTimer(kUrlMonitorTimer);
}

void CUrlMonitor::SetEnabled(bool on) {
    enabled_ = on;
    Write(on ? kEnabledLine : kDisabledLine, kNavy);
}

void CUrlMonitor::OnTimerTick() {
    if (!enabled_) {
        return;
    }
    // A clipboard unchanged since its text was last read still holds the last text seen, so the
    // tick would end at the comparison whatever the preference says. Ending here spares the
    // preference and clipboard reads that are nearly all of an idle tick's cost.
    const uint32_t sequence = clipboard_.SequenceNumber();
    if (seenSequence_ == sequence || !IsPreferenceOn()) {
        return;
    }
    const std::string text = clipboard_.GetClipboardText();
    // An empty read (no text, or the clipboard busy) must not make the same text look new later.
    if (text.empty()) {
        return;
    }
    const bool isNew = TakeNoteOf(text);
    // Only now: a text that could not be stored must not count as seen at the next tick.
    seenSequence_ = sequence;
    if (!isNew) {
        return;
    }
    // The text stays seen: releasing Ctrl later does not bring it back.
    if (keyboard_.IsCtrlDown()) {
        return;
    }
    const std::string candidate = CutUrlCandidate(text);
    const ParsedUrl url = parser_.Parse(candidate);
    if (!url.parsed || !url.isFtp || launcher_.IsClientRunning()) {
        return;
    }
    StartClientFor(candidate);
}

bool CUrlMonitor::IsPreferenceOn() {
    return settings_.GetInt(registry::kPreferencesSection, registry::kUrlMonitorEntry, 0) != 0;
}

bool CUrlMonitor::TakeNoteOf(const std::string& text) {
    if (text == lastSeenText_) {
        return false;
    }
    lastSeenText_ = text;
    return true;
}

void CUrlMonitor::StartClientFor(const std::string& candidate) {
    Write(kStartingLine, kGreen);
    Write(kUrlLinePrefix + candidate, kBlack);
    launcher_.RunClient();
}

void CUrlMonitor::Write(const std::string& message, Colour colour) {
    if (log_ == nullptr) {
        return;  // not attached yet: there is no window to write into
    }
    log_->Append(message, colour);
}

// Any clipboard text, and ticks over copies while Ctrl, the clipboard and the preference change.

#include <algorithm>
#include <string_view>

#include "core/RegistryLayout.h"
#include "fuzz/FuzzInput.h"
#include "shared/Fakes.h"
#include "shared/MemorySettingsStore.h"
#include "urlmonitor/CUrlMonitor.h"
#include "urlmonitor/UrlCandidate.h"

namespace {

constexpr int kMaxTicks = 32;
constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";
constexpr char kFtpScheme[] = "ftp://";
// What one tick meets, one bit each.
constexpr uint8_t kCtrlDown = 1, kPreferenceOff = 2, kClipboardBusy = 16, kSameText = 32;

// The whole first word of the first line; the trim comes before the cut at a space, which can
// leave a tab or LF at its end.
void CheckCandidate(const std::string& text) {
    const std::string candidate = CutUrlCandidate(text);
    const size_t start = std::min(text.find_first_not_of(kWhiteSpace), text.size());
    const size_t end = start + candidate.size();
    const auto isWhite = [](char c) { return kWhiteSpace.find(c) != std::string_view::npos; };
    Require(candidate.empty() == (start == text.size()) &&
                text.compare(start, candidate.size(), candidate) == 0 &&
                (end == text.size() || isWhite(text[end])),
            "the candidate is not a whole word at the start of the text");
    Require(
        candidate.find_first_of(" \r") == std::string::npos &&
            (text.find('\r') != std::string::npos || candidate.find('\n') == std::string::npos) &&
            (candidate.empty() || !isWhite(candidate.back()) || text[end] == ' '),
        "the candidate holds a space, runs past the first line or ends in white space");
}

// The seams the monitor reads, as one tick's bits set them, and the monitor.
struct Monitor : ClipboardSource, KeyboardState, UrlParser {
    std::string GetClipboardText() override { return bits & kClipboardBusy ? "" : text; }
    uint32_t SequenceNumber() override { return sequence; }
    bool IsCtrlDown() override { return bits & kCtrlDown; }
    ParsedUrl Parse(const std::string& url) override {
        asked.push_back(url);
        return {url.rfind(kFtpScheme, 0) == 0, url.rfind(kFtpScheme, 0) == 0};
    }

    uint8_t bits = 0;
    std::string text;
    uint32_t sequence = 0;
    std::vector<std::string> asked;
    MemorySettingsStore settings;
    FakeCompanions companions;
    FakeTicks ticks;
    ClientLauncher launcher{companions, ticks};
    RecordingLog log;
    CUrlMonitor monitor{settings, *this, *this, *this, launcher};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckCandidate(std::string(data, data + size));
    FuzzInput input(data, size);
    Monitor m;
    m.text = input.Text(input.Byte());
    m.monitor.Attach(m.log);
    m.monitor.SetEnabled(true);
    std::string lastSeen = m.text;  // as the rules tell it
    for (int tick = 0; tick < kMaxTicks && !input.Exhausted(); ++tick) {
        m.bits = input.Byte();
        const std::string copied = input.Text(input.Byte());
        CheckCandidate(copied);
        m.sequence += m.bits & kSameText ? 0 : 1;  // a copy changes it, of the same text too
        m.text = m.bits & kSameText ? m.text : copied;
        m.settings.WriteInt(registry::kPreferencesSection, registry::kUrlMonitorEntry,
                            !(m.bits & kPreferenceOff));
        m.asked.clear();
        m.companions.launches.clear();
        m.companions.alive.clear();  // the client started at the last tick has ended
        m.monitor.OnTimerTick();

        const bool noted =
            !(m.bits & (kPreferenceOff | kClipboardBusy)) && !m.text.empty() && m.text != lastSeen;
        lastSeen = noted ? m.text : lastSeen;
        const bool parsed = noted && !(m.bits & kCtrlDown);
        const std::string candidate = CutUrlCandidate(m.text);
        Require(m.asked.size() == parsed && (!parsed || m.asked.back() == candidate),
                "the parser was not asked once about each new text's candidate");
        Require(m.companions.launches.size() == (parsed && candidate.rfind(kFtpScheme, 0) == 0),
                "the client was not started exactly for new FTP text");
    }
    return 0;
}

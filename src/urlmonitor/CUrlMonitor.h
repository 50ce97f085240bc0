#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/ClientLauncher.h"
#include "core/ClipboardSource.h"
#include "core/KeyboardState.h"
#include "core/LogSink.h"
#include "core/SettingsStore.h"
#include "core/TimerHost.h"
#include "core/UrlParser.h"

constexpr uintptr_t kUrlMonitorTimer = 1;
constexpr unsigned kUrlMonitorPeriodMs = 500;

// Starts the client when text whose first word is an FTP URL is copied. Acts only while both its
// own switch and the client's URLMonitor preference are on, and on each distinct text at most once.
class CUrlMonitor {
public:
    CUrlMonitor(SettingsStore& settings, ClipboardSource& clipboard, KeyboardState& keyboard,
                UrlParser& parser, ClientLauncher& launcher);
    virtual ~CUrlMonitor() = default;

    // Text already on the clipboard now is taken as seen: only text copied later counts.
    void Attach(LogSink& log);
    bool StartTimer(TimerHost& host);
    void StopTimer(TimerHost& host);
    void SetEnabled(bool on);
    bool IsEnabled() const { return enabled_; }
    void OnTimerTick();

private:
    bool IsPreferenceOn();
    // True when the text differs from the last one seen; it is then the last one seen.
    bool TakeNoteOf(const std::string& text);
    void StartClientFor(const std::string& candidate);
    void Write(const std::string& message, Colour colour);

    SettingsStore& settings_;
    ClipboardSource& clipboard_;
    KeyboardState& keyboard_;
    UrlParser& parser_;
    ClientLauncher& launcher_;
    bool enabled_ = false;
    std::string lastSeenText_;
    // The clipboard's sequence number when lastSeenText_ was read from it.
    std::optional<uint32_t> seenSequence_;
    LogSink* log_ = nullptr;
};

#pragma once

#include <windows.h>

#include <shellapi.h>

#include "core/TimerHost.h"

constexpr uintptr_t kTrayRetryTimer = 3;

// The notification-area icon. At logon the shell can refuse or time out an add while it is
// already up, and then sends no "TaskbarCreated": a refused add is tried again every few seconds
// for a couple of minutes. The icon counts as shown only once the shell has it.
class TrayIcon {
public:
    using NotifyCall = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA icon);
    static constexpr unsigned kRetryPeriodMs = 4000;
    static constexpr int kRetries = 30;

    explicit TrayIcon(TimerHost& timers, NotifyCall notify = Shell_NotifyIconA)
        : timers_(timers), notify_(notify) {}

    // Nothing while the icon is shown or its add is being retried.
    void Add(HWND owner, UINT callbackMessage, HICON icon, const char* tip);
    void Remove();
    // A restarted shell has forgotten every icon.
    void Forget();
    void OnRetryTimer();
    bool IsShown() const { return shown_; }

private:
    bool TryAdd();
    void StopRetrying();

    TimerHost& timers_;
    NotifyCall notify_;
    NOTIFYICONDATAA icon_{};
    bool shown_ = false;
    int retriesLeft_ = 0;
};

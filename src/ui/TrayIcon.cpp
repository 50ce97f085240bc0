#include "ui/TrayIcon.h"

namespace {

constexpr UINT kTrayIconId = 1;

}  // namespace

void TrayIcon::Add(HWND owner, UINT callbackMessage, HICON icon, const char* tip) {
    if (shown_ || retriesLeft_ > 0) {
        return;
    }
    icon_.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon_.hWnd = owner;
    icon_.uID = kTrayIconId;
    icon_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon_.uCallbackMessage = callbackMessage;
    icon_.hIcon = icon;
    lstrcpynA(icon_.szTip, tip, sizeof icon_.szTip);
    if (!TryAdd()) {
        retriesLeft_ = kRetries;
        timers_.StartTimer(kTrayRetryTimer, kRetryPeriodMs);
    }
}

void TrayIcon::Remove() {
    StopRetrying();
    if (shown_) {
        notify_(NIM_DELETE, &icon_);
        shown_ = false;
    }
}

void TrayIcon::Forget() {
    StopRetrying();
    shown_ = false;
}

void TrayIcon::OnRetryTimer() {
    if (retriesLeft_ == 0) {
        return;
    }
    if (TryAdd() || retriesLeft_ == 1) {
        StopRetrying();
    } else {
        --retriesLeft_;
    }
}

// An add that timed out may have reached the shell after all: then it knows the icon already.
bool TrayIcon::TryAdd() {
    shown_ = notify_(NIM_ADD, &icon_) || notify_(NIM_MODIFY, &icon_);
    return shown_;
}

void TrayIcon::StopRetrying() {
    if (retriesLeft_ > 0) {
        retriesLeft_ = 0;
        timers_.StopTimer(kTrayRetryTimer);
    }
}

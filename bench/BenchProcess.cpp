#include "bench/BenchProcess.h"

#include <shellapi.h>

#include "e2e/MonitorHarness.h"

namespace {

constexpr UINT kTrayIconId = 1;
// Polls often enough to resolve a start-up of a few hundred milliseconds, and seldom enough to
// leave the processor to the program being started.
constexpr DWORD kPollMs = 2;
constexpr DWORD kStopWaitMs = 10000;
constexpr DWORD kMessageWaitMs = 600000;

double ToSeconds(const FILETIME& time) {
    const ULONGLONG ticks =
        (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<double>(ticks) / 1e7;
}

}  // namespace

BenchProcess::BenchProcess(const std::string& unixPath) : windowsPath_(WindowsPath(unixPath)) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + windowsPath_ + "\"";
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_)) {
        process_ = PROCESS_INFORMATION{};
    }
}

BenchProcess::~BenchProcess() {
    Stop();
}

void BenchProcess::Stop() {
    if (process_.hProcess == nullptr) {
        return;
    }
    TerminateProcess(process_.hProcess, 0);
    WaitForSingleObject(process_.hProcess, kStopWaitMs);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = PROCESS_INFORMATION{};
}

double BenchProcess::CpuSeconds() {
    if (!linuxClockSought_) {
        linuxClock_ = LinuxCpuClock::Find(windowsPath_);
        linuxClockSought_ = true;
    }
    if (linuxClock_) {
        if (const std::optional<double> seconds = linuxClock_->CpuSeconds()) {
            return *seconds;
        }
    }
    FILETIME creation{}, exit{}, kernel{}, user{};
    if (!GetProcessTimes(process_.hProcess, &creation, &exit, &kernel, &user)) {
        return 0;
    }
    return ToSeconds(kernel) + ToSeconds(user);
}

HWND BenchProcess::FindOwnWindow(const char* windowClass) const {
    for (HWND window = FindWindowExA(nullptr, nullptr, windowClass, nullptr); window != nullptr;
         window = FindWindowExA(nullptr, window, windowClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process_.dwProcessId) {
            return window;
        }
    }
    return nullptr;
}

HWND BenchProcess::WaitForWindow(const char* windowClass, DWORD waitMs) const {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = FindOwnWindow(windowClass)) {
            return window;
        }
        if (GetTickCount() - start >= waitMs) {
            return nullptr;
        }
        Sleep(kPollMs);
    }
}

bool BenchProcess::IsHiddenInTray(HWND window) const {
    if (IsWindowVisible(window)) {
        return false;
    }
    // Modifying an icon succeeds only while the shell knows it.
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = kTrayIconId;
    return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

HWND BenchProcess::WaitUntilHiddenInTray(const char* windowClass, DWORD waitMs) const {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindOwnWindow(windowClass);
        if (window != nullptr && IsHiddenInTray(window)) {
            return window;
        }
        if (GetTickCount() - start >= waitMs) {
            return nullptr;
        }
        Sleep(kPollMs);
    }
}

double Seconds() {
    LARGE_INTEGER frequency{}, now{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double TimeSentMessage(HWND window, UINT message, WPARAM wParam) {
    DWORD_PTR result = 0;
    const double start = Seconds();
    SendMessageTimeoutA(window, message, wParam, 0, SMTO_NORMAL, kMessageWaitMs, &result);
    return Seconds() - start;
}

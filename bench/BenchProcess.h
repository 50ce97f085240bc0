#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "bench/LinuxCpuClock.h"

// A program started for one measurement and ended when dropped.
class BenchProcess {
public:
    // Starts the program, given by its Unix path in the build tree.
    explicit BenchProcess(const std::string& unixPath);
    ~BenchProcess();
    BenchProcess(const BenchProcess&) = delete;
    BenchProcess& operator=(const BenchProcess&) = delete;

    bool IsStarted() const { return process_.hProcess != nullptr; }
    // Kernel and user time together, as precisely as the platform counts it.
    double CpuSeconds();
    // The program's top-level window of that class, or nullptr after waiting.
    HWND WaitForWindow(const char* windowClass, DWORD waitMs) const;
    // True once the window is hidden and its notification-area icon is shown.
    bool IsHiddenInTray(HWND window) const;
    HWND WaitUntilHiddenInTray(const char* windowClass, DWORD waitMs) const;
    void Stop();

private:
    HWND FindOwnWindow(const char* windowClass) const;

    std::string windowsPath_;
    PROCESS_INFORMATION process_{};
    std::optional<LinuxCpuClock> linuxClock_;
    bool linuxClockSought_ = false;
};

// Sends a message as the timers would and returns the seconds until the program has handled it.
double TimeSentMessage(HWND window, UINT message, WPARAM wParam);
double Seconds();

#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/RegistrySettingsStore.h"

// Converts a Unix path of the build tree to the Windows path Wine maps it to.
std::string WindowsPath(const std::string& unixPath);

// The stand-in companions' folder: records of their command lines and their hold times.
class StandIns {
public:
    StandIns();
    const std::string& Folder() const { return folder_; }
    void Reset() const;
    void HoldClientFor(DWORD milliseconds) const;
    // The raw argument texts that each start recorded, waiting until `count` have arrived.
    std::vector<std::string> ClientStarts(size_t count = 0, DWORD waitMs = 0) const;
    std::vector<std::string> DownloaderStarts(size_t count = 0, DWORD waitMs = 0) const;

private:
    std::vector<std::string> Starts(const char* name, size_t count, DWORD waitMs) const;
    std::string folder_;
};

// Holds a companion's presence event as if it were running.
class PresenceEvent {
public:
    explicit PresenceEvent(const char* name) : handle_(CreateEventA(nullptr, FALSE, FALSE, name)) {}
    ~PresenceEvent() { CloseHandle(handle_); }
    PresenceEvent(const PresenceEvent&) = delete;
    PresenceEvent& operator=(const PresenceEvent&) = delete;

private:
    HANDLE handle_;
};

// One run of the real VantrelMonitor.exe, driven and read from outside.
class MonitorProcess {
public:
    MonitorProcess() = default;
    ~MonitorProcess();
    MonitorProcess(const MonitorProcess&) = delete;
    MonitorProcess& operator=(const MonitorProcess&) = delete;

    // Starts the program and waits for its main window; false when none appeared.
    bool Start();
    // Starts another copy and returns its exit code, or STILL_ACTIVE when it did not end.
    static DWORD RunSecondCopy(DWORD waitMs);
    bool WaitForExit(DWORD waitMs) const;
    bool IsRunning() const;

    HWND Frame() const { return frame_; }
    std::string LogText() const;
    std::vector<std::string> LogMessages() const;
    // Waits until the log holds at least `count` lines.
    std::vector<std::string> WaitForLogMessages(size_t count, DWORD waitMs = 5000) const;
    // Posts a command, for commands that open a modal window and so do not return at once.
    void PostCommand(int id) const;
    // Sends a command or a timer tick and waits until it has been handled.
    void SendCommand(int id) const;
    void SendTimer(UINT_PTR id) const;
    // A top-level dialog of the program with this title, or nullptr after waiting.
    HWND WaitForWindow(const char* title, DWORD waitMs = 5000) const;
    bool IsTrayIconShown() const;

private:
    PROCESS_INFORMATION process_{};
    HWND frame_ = nullptr;
};

// Clears the program's per-user keys and points the machine-wide install path at a folder.
void ResetRegistry(const std::string& installFolder);
// Sends BM_CLICK to a button of a dialog (works across processes).
void ClickButton(HWND dialog, int id);

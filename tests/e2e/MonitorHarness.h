#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/Time32.h"
#include "scheduler/ScheduleRecord.h"

// Converts a Unix path of the build tree to the Windows path Wine maps it to.
std::string WindowsPath(const std::string& unixPath);

// The stand-in companions' folder: records of their command lines and their hold times.
class StandIns {
public:
    StandIns();
    const std::string& Folder() const { return folder_; }
    void Reset() const;
    void HoldClientFor(DWORD milliseconds) const;
    // The raw argument texts of the starts in the order the processes were created, waiting
    // until `count` have arrived.
    std::vector<std::string> ClientStarts(size_t count = 0, DWORD waitMs = 0) const;
    std::vector<std::string> DownloaderStarts(size_t count = 0, DWORD waitMs = 0) const;
    // Waits until no stand-in client holds the client's presence event.
    bool WaitUntilClientEnds(DWORD waitMs = 5000) const;
    // A queue file in a folder whose name holds a space; created, or made sure not to exist.
    std::string CreateQueueFile(const std::string& name) const;
    std::string MissingQueueFile(const std::string& name) const;

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

    // Starts the program and waits for its main window and its tray icon; false when either
    // did not appear.
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

// The tables as the client and the downloader write them, through the plain registry API so that
// the program's own settings store is not trusted to check itself.
ScheduleRecord RecordOf(std::initializer_list<std::pair<RecordField, int32_t>> fields);
std::vector<uint8_t> Bytes(const ScheduleRecord& record);
struct StoredQueueRow {
    DWORD version = 0;
    std::string queueName;
    DWORD dataSize = 0;
    std::vector<uint8_t> data;
};
void SeedQueueRow(int row, const std::string& queueFile, const ScheduleRecord& record);
// Nothing when the row's subkey does not exist.
std::optional<StoredQueueRow> ReadQueueRow(int row);
// The stored Data bytes of a row; empty when the row is missing.
std::vector<uint8_t> StoredQueueData(int row);
std::vector<std::string> QueueRowNames();
void SeedTransferRow(int row, DWORD version);
// Subkey names in the registry's enumeration order.
std::vector<std::string> TransferRowNames();
void SetUrlMonitorPreference(DWORD value);

Time32 Now();
// Sets text on the clipboard as any other program of the session would.
bool CopyToClipboard(const std::string& text);

// Sends BM_CLICK to a button of a dialog (works across processes).
void ClickButton(HWND dialog, int id);
// Clicks a button whose handler opens a modal window, so does not return until that closes.
void PostClickButton(HWND dialog, int id);
// Selects a list box entry as a user's click does, with its LBN_SELCHANGE to the dialog.
void SelectListEntry(HWND dialog, int listId, int index);
std::string WindowText(HWND window);
std::string ItemText(HWND dialog, int id);
std::string MessageBoxText(HWND box);
std::vector<std::string> ListBoxEntries(HWND list);
bool WaitUntil(const std::function<bool()>& condition, DWORD waitMs = 5000);
bool WaitForWindowToClose(HWND window, DWORD waitMs = 5000);

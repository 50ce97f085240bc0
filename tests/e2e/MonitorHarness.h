#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/Time32.h"
#include "scheduler/ScheduleRecord.h"

// Converts a Unix path of the build tree to the Windows path Wine maps it to.
std::string WindowsPath(const std::string& unixPath);
bool WaitUntil(const std::function<bool()>& condition, DWORD waitMs = 5000);

// The stand-in companions' folder: records of their command lines, and when they announce
// themselves.
class StandIns {
public:
    StandIns() = default;
    // Stand-ins copied into another folder record their starts there.
    explicit StandIns(std::string folder) : folder_(std::move(folder)) {}
    const std::string& Folder() const { return folder_; }
    void Reset() const;
    // "Vantrel" or "Rushload": creates its event this long after its start.
    void AnnounceAfter(const char* program, DWORD milliseconds) const;
    // Raw argument texts in process creation order, once `count` have arrived or after waiting.
    std::vector<std::string> Starts(const char* program, size_t count, DWORD waitMs) const;
    std::vector<std::string> ClientStarts(size_t count = 0, DWORD waitMs = 0) const {
        return Starts("Vantrel", count, waitMs);
    }
    bool WaitUntilClientEnds(DWORD waitMs = 5000) const;
    // In a folder whose name holds a space.
    std::string CreateQueueFile(const std::string& name) const;

private:
    std::string folder_ = WindowsPath(STANDIN_DIR) + "\\";
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

    // Starts the program and waits for its main window and its tray icon; another copy of it, or
    // in another working folder, when told.
    bool Start(const std::string& program = WindowsPath(MONITOR_EXE),
               const std::string& folder = {});
    // Starts a second copy and returns its exit code, STILL_ACTIVE when it did not end.
    static DWORD RunSecondCopy(DWORD waitMs);
    bool WaitForExit(DWORD waitMs) const;
    HWND Frame() const { return frame_; }
    DWORD ProcessId() const { return process_.dwProcessId; }
    std::string LogText() const;
    std::vector<std::string> LogMessages() const;
    std::vector<std::string> WaitForLogMessages(size_t count) const;
    // For commands that open a modal window and so do not return at once.
    void PostCommand(int id) const { PostMessageA(frame_, WM_COMMAND, id, 0); }
    // Sends a message and reports whether it was handled within the time.
    bool Send(UINT message, WPARAM wParam, DWORD waitMs = 20000) const;
    // What Windows sends at a session end or an installer's request to close; true when the
    // program agreed to end.
    bool EndSession(LPARAM reason) const;
    // A visible top-level window of the program with this title (any title for nullptr).
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
void SetValue(const char* table, const std::string& row, const char* name, DWORD type,
              const void* data, size_t size);
void SetDword(const char* table, const std::string& row, const char* name, DWORD value);
ScheduleRecord RecordOf(std::initializer_list<std::pair<RecordField, int32_t>> fields);
std::vector<uint8_t> Bytes(const ScheduleRecord& record);
void SeedQueueRow(const std::string& row, const std::string& queueFile,
                  const ScheduleRecord& record);
std::vector<uint8_t> StoredQueueData(const std::string& row);
// Subkey names in the registry's enumeration order.
std::vector<std::string> RowNames(const char* table);
std::vector<std::string> QueueRowNames();
void SetUrlMonitorPreference(DWORD value);
Time32 Now();
bool CopyToClipboard(const std::string& text);

void ClickButton(HWND dialog, int id);
void PostClickButton(HWND dialog, int id);
// Selects a list box entry as a user's click does, with its LBN_SELCHANGE to the dialog.
void SelectListEntry(HWND dialog, int listId, int index);
std::string ItemText(HWND dialog, int id);
std::vector<std::string> ListBoxEntries(HWND list);
bool WaitForWindowToClose(HWND window, DWORD waitMs = 5000);
// A visible dialog or message box owned by the window.
HWND WaitForOwnedBox(HWND owner, DWORD waitMs = 5000);
// Whether the window is owned by `owner` and centred on it, or on the work area for a hidden one.
bool IsCentredOnOwner(HWND window, HWND owner);

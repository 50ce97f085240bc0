#include "e2e/MonitorHarness.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "core/RegistryLayout.h"

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream input(text);
    for (std::string line; std::getline(input, line);) {
        lines.push_back(line.substr(0, line.find('\r')));
    }
    return lines;
}

bool CreateMonitor(PROCESS_INFORMATION& process,
                   const std::string& program = WindowsPath(MONITOR_EXE),
                   const std::string& folder = {}) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + program + "\"";
    return CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &process) != FALSE;
}

std::string WindowText(HWND window) {
    std::string text(static_cast<size_t>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(
        SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

std::string RowKey(const char* table, const std::string& row) {
    return std::string(table) + "\\" + row;
}

}  // namespace

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD waitMs) {
    for (const DWORD start = GetTickCount(); !condition(); Sleep(50)) {
        if (GetTickCount() - start >= waitMs) {
            return false;
        }
    }
    return true;
}

void StandIns::Reset() const {
    for (const char* file : {"Vantrel.starts.txt", "Rushload.starts.txt", "Vantrel.announce-ms",
                             "Rushload.announce-ms"}) {
        DeleteFileA((folder_ + file).c_str());
    }
}

void StandIns::AnnounceAfter(const char* program, DWORD milliseconds) const {
    std::ofstream(folder_ + program + ".announce-ms") << milliseconds;
}

// Lines of "<creation stamp> <argument text>", in whatever order the starts wrote them.
std::vector<std::string> StandIns::Starts(const char* program, size_t count, DWORD waitMs) const {
    std::vector<std::string> lines;
    WaitUntil(
        [&] {
            std::stringstream text;
            text << std::ifstream(folder_ + program + ".starts.txt").rdbuf();
            return (lines = SplitLines(text.str())).size() >= count;
        },
        waitMs);
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto& a, const auto& b) { return std::stoull(a) < std::stoull(b); });
    for (std::string& line : lines) {
        line = line.substr(line.find(' ') + 1);
    }
    return lines;
}

bool StandIns::WaitUntilClientEnds(DWORD waitMs) const {
    return WaitUntil(
        [] {
            HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, "VANTRELInstance");
            return event == nullptr || !CloseHandle(event);
        },
        waitMs);
}

std::string StandIns::CreateQueueFile(const std::string& name) const {
    const std::string folder = folder_ + "Scheduled queues\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::ofstream(folder + name) << "queue\n";
    return folder + name;
}

MonitorProcess::~MonitorProcess() {
    if (process_.hProcess != nullptr) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

bool MonitorProcess::Start(const std::string& program, const std::string& folder) {
    if (!CreateMonitor(process_, program, folder)) {
        return false;
    }
    WaitForInputIdle(process_.hProcess, 10000);
    // Start-up adds the icon just before it starts its workers; a tick sent earlier can be taken
    // in while the icon is being added and find them not yet started.
    return WaitUntil(
        [this] {
            frame_ = FindWindowA("VantrelMonitorFrame", "Vantrel Monitor");
            DWORD owner = 0;
            GetWindowThreadProcessId(frame_, &owner);
            return owner == process_.dwProcessId && IsTrayIconShown();
        },
        10000);
}

DWORD MonitorProcess::RunSecondCopy(DWORD waitMs) {
    MonitorProcess second;
    DWORD exitCode = STILL_ACTIVE;
    if (CreateMonitor(second.process_) && second.WaitForExit(waitMs)) {
        GetExitCodeProcess(second.process_.hProcess, &exitCode);
    }
    return exitCode;
}

bool MonitorProcess::WaitForExit(DWORD waitMs) const {
    return WaitForSingleObject(process_.hProcess, waitMs) == WAIT_OBJECT_0;
}

std::string MonitorProcess::LogText() const {
    return WindowText(FindWindowExA(frame_, nullptr, "RichEdit20A", nullptr));
}

std::vector<std::string> MonitorProcess::LogMessages() const {
    std::vector<std::string> messages = SplitLines(LogText());
    for (std::string& line : messages) {
        const size_t stampEnd = line.find(" ]  ");
        if (line.rfind("[ ", 0) == 0 && stampEnd != std::string::npos) {
            line = line.substr(stampEnd + 4);
        }
    }
    return messages;
}

std::vector<std::string> MonitorProcess::WaitForLogMessages(size_t count) const {
    std::vector<std::string> messages;
    WaitUntil([&] { return (messages = LogMessages()).size() >= count; });
    return messages;
}

bool MonitorProcess::Send(UINT message, WPARAM wParam, DWORD waitMs) const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(frame_, message, wParam, 0, SMTO_ABORTIFHUNG, waitMs, &result) != 0;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchProgramWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    if (owner == search->processId && IsWindowVisible(window) &&
        (search->title == nullptr || std::string(text) == search->title)) {
        search->found = window;
    }
    return search->found == nullptr ? TRUE : FALSE;
}

}  // namespace

bool MonitorProcess::EndSession(LPARAM reason) const {
    DWORD_PTR agreed = FALSE;
    DWORD_PTR unused = 0;
    return SendMessageTimeoutA(frame_, WM_QUERYENDSESSION, 0, reason, SMTO_ABORTIFHUNG, 20000,
                               &agreed) != 0 &&
           agreed != FALSE &&
           SendMessageTimeoutA(frame_, WM_ENDSESSION, TRUE, reason, SMTO_ABORTIFHUNG, 20000,
                               &unused) != 0;
}

HWND MonitorProcess::WaitForWindow(const char* title, DWORD waitMs) const {
    WindowSearch search{process_.dwProcessId, title, nullptr};
    WaitUntil([&] { return !EnumWindows(MatchProgramWindow, reinterpret_cast<LPARAM>(&search)); },
              waitMs);
    return search.found;
}

bool MonitorProcess::IsTrayIconShown() const {
    // Modifying an icon succeeds only while the shell knows it.
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = frame_;
    icon.uID = 1;
    return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

void ResetRegistry(const std::string& installFolder) {
    RegDeleteTreeA(HKEY_CURRENT_USER, registry::kUserRoot);
    // Where the 32-bit client's installer writes it.
    HKEY settings = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, registry::kSettingsKey, 0, nullptr, 0,
                    KEY_WRITE | KEY_WOW64_32KEY, nullptr, &settings, nullptr);
    RegSetValueExA(settings, registry::kInstallPathValue, 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(installFolder.c_str()),
                   static_cast<DWORD>(installFolder.size() + 1));
    RegCloseKey(settings);
}

void SetValue(const char* table, const std::string& row, const char* name, DWORD type,
              const void* data, size_t size) {
    RegSetKeyValueA(HKEY_CURRENT_USER, RowKey(table, row).c_str(), name, type, data,
                    static_cast<DWORD>(size));
}

void SetDword(const char* table, const std::string& row, const char* name, DWORD value) {
    SetValue(table, row, name, REG_DWORD, &value, sizeof value);
}

ScheduleRecord RecordOf(std::initializer_list<std::pair<RecordField, int32_t>> fields) {
    ScheduleRecord record{};
    for (const auto& [field, value] : fields) {
        WriteField(record, field, value);
    }
    return record;
}

std::vector<uint8_t> Bytes(const ScheduleRecord& record) {
    return std::vector<uint8_t>(record.begin(), record.end());
}

void SeedQueueRow(const std::string& row, const std::string& queueFile,
                  const ScheduleRecord& record) {
    const char* table = registry::kQueueTable;
    SetDword(table, row, registry::kVersionEntry, 1);
    SetValue(table, row, registry::kQueueNameEntry, REG_SZ, queueFile.c_str(),
             queueFile.size() + 1);
    SetDword(table, row, registry::kDataSizeEntry, kScheduleRecordSize);
    SetValue(table, row, registry::kDataEntry, REG_BINARY, record.data(), record.size());
}

std::vector<uint8_t> StoredQueueData(const std::string& row) {
    std::vector<uint8_t> bytes(2 << 20);
    DWORD size = static_cast<DWORD>(bytes.size());
    const bool read = RegGetValueA(HKEY_CURRENT_USER, RowKey(registry::kQueueTable, row).c_str(),
                                   registry::kDataEntry, RRF_RT_REG_BINARY, nullptr, bytes.data(),
                                   &size) == ERROR_SUCCESS;
    bytes.resize(read ? size : 0);
    return bytes;
}

std::vector<std::string> RowNames(const char* table) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, table, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        char name[256];
        for (DWORD length = sizeof name;
             RegEnumKeyExA(key, static_cast<DWORD>(names.size()), name, &length, nullptr, nullptr,
                           nullptr, nullptr) == ERROR_SUCCESS;
             length = sizeof name) {
            names.emplace_back(name, length);
        }
        RegCloseKey(key);
    }
    return names;
}

std::vector<std::string> QueueRowNames() {
    return RowNames(registry::kQueueTable);
}

void SetUrlMonitorPreference(DWORD value) {
    RegSetKeyValueA(
        HKEY_CURRENT_USER,
        (std::string(registry::kUserRoot) + "\\" + registry::kPreferencesSection).c_str(),
        registry::kUrlMonitorEntry, REG_DWORD, &value, sizeof value);
}

Time32 Now() {
    return static_cast<Time32>(std::time(nullptr));
}

bool CopyToClipboard(const std::string& text) {
    // The monitor opens the clipboard twice a second; a refused open is only that moment.
    if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 2000)) {
        return false;
    }
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (block != nullptr) {
        std::copy_n(text.c_str(), text.size() + 1, static_cast<char*>(GlobalLock(block)));
        GlobalUnlock(block);
        if (SetClipboardData(CF_TEXT, block) == nullptr) {
            GlobalFree(block);
            block = nullptr;
        }
    }
    CloseClipboard();
    return block != nullptr;
}

void ClickButton(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void PostClickButton(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void SelectListEntry(HWND dialog, int listId, int index) {
    HWND list = GetDlgItem(dialog, listId);
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

std::string ItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

// Wine copies a list box entry across processes as wide text whatever the caller's character
// set, so an ANSI buffer of the entry's length is overrun; the wide call gets what it asks for.
std::vector<std::string> ListBoxEntries(HWND list) {
    std::vector<std::string> entries;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (WPARAM index = 0; static_cast<LRESULT>(index) < count; ++index) {
        const LRESULT length = std::max<LRESULT>(SendMessageW(list, LB_GETTEXTLEN, index, 0), 0);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const LRESULT copied =
            SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
        std::string ansi(text.size() * 2, '\0');
        ansi.resize(static_cast<size_t>(
            WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), ansi.data(),
                                static_cast<int>(ansi.size()), nullptr, nullptr)));
        entries.push_back(ansi);
    }
    return entries;
}

bool WaitForWindowToClose(HWND window, DWORD waitMs) {
    return WaitUntil([window] { return !IsWindow(window); }, waitMs);
}

HWND WaitForOwnedBox(HWND owner, DWORD waitMs) {
    HWND box = nullptr;
    WaitUntil(
        [&] {
            while ((box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr &&
                   (!IsWindowVisible(box) || GetWindow(box, GW_OWNER) != owner)) {
            }
            return box != nullptr;
        },
        waitMs);
    return box;
}

// Within the pixel that halving loses.
bool IsCentredOnOwner(HWND window, HWND owner) {
    RECT rect{}, on{};
    GetWindowRect(window, &rect);
    if (IsWindowVisible(owner)) {
        GetWindowRect(owner, &on);
    } else {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &on, 0);
    }
    return GetWindow(window, GW_OWNER) == owner &&
           std::abs(rect.left + rect.right - on.left - on.right) <= 1 &&
           std::abs(rect.top + rect.bottom - on.top - on.bottom) <= 1;
}

#include "e2e/MonitorHarness.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "core/RegistryLayout.h"

namespace {

constexpr char kFrameClass[] = "VantrelMonitorFrame";
constexpr char kFrameTitle[] = "Vantrel Monitor";
constexpr char kClientPresenceEvent[] = "VANTRELInstance";
constexpr char kQueueFolder[] = "Scheduled queues\\";
// The text line of a message box, in Windows and in Wine alike.
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr DWORD kMessageWaitMs = 10000;
constexpr DWORD kStartWaitMs = 10000;

std::string ReadFile(const std::string& path) {
    std::ifstream input(path, std::ios::binary);
    std::stringstream text;
    text << input.rdbuf();
    return text.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            line += text[i];
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

struct WindowSearch {
    DWORD processId;
    const char* title;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND hwnd, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char title[256] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    if (owner == search->processId && IsWindowVisible(hwnd) &&
        std::string(title) == search->title) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

std::string RowKey(const char* table, int row) {
    return std::string(table) + "\\" + std::to_string(row);
}

void SetDword(const std::string& key, const char* name, DWORD value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_DWORD, &value, sizeof value);
}

DWORD GetDword(const std::string& key, const char* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

std::vector<uint8_t> GetRaw(const std::string& key, const char* name, DWORD types) {
    DWORD size = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, types, nullptr, nullptr, &size) !=
        ERROR_SUCCESS) {
        return {};
    }
    std::vector<uint8_t> bytes(size);
    RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, types, nullptr, bytes.data(), &size);
    bytes.resize(size);
    return bytes;
}

std::vector<std::string> SubkeyNames(const char* table) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, table, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return names;
    }
    char name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

std::string AnsiText(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), ansi.data(), size,
                        nullptr, nullptr);
    return ansi;
}

}  // namespace

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

StandIns::StandIns() : folder_(WindowsPath(STANDIN_DIR) + "\\") {}

void StandIns::Reset() const {
    for (const char* file : {"Vantrel.args.txt", "Rushload.args.txt", "Vantrel.starts.txt",
                             "Rushload.starts.txt", "Vantrel.hold-ms", "Rushload.hold-ms"}) {
        DeleteFileA((folder_ + file).c_str());
    }
}

void StandIns::HoldClientFor(DWORD milliseconds) const {
    std::ofstream(folder_ + "Vantrel.hold-ms") << milliseconds;
}

// Lines of "<creation stamp> <argument text>", in whatever order the starts wrote them.
std::vector<std::string> StandIns::Starts(const char* name, size_t count, DWORD waitMs) const {
    std::vector<std::string> lines;
    WaitUntil(
        [&] {
            lines = SplitLines(ReadFile(folder_ + name));
            return lines.size() >= count;
        },
        waitMs);
    std::vector<std::pair<unsigned long long, std::string>> starts;
    for (const std::string& line : lines) {
        const size_t space = line.find(' ');
        starts.emplace_back(std::strtoull(line.c_str(), nullptr, 10),
                            space == std::string::npos ? std::string() : line.substr(space + 1));
    }
    std::stable_sort(starts.begin(), starts.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> arguments;
    for (const auto& start : starts) {
        arguments.push_back(start.second);
    }
    return arguments;
}

std::vector<std::string> StandIns::ClientStarts(size_t count, DWORD waitMs) const {
    return Starts("Vantrel.starts.txt", count, waitMs);
}

std::vector<std::string> StandIns::DownloaderStarts(size_t count, DWORD waitMs) const {
    return Starts("Rushload.starts.txt", count, waitMs);
}

bool StandIns::WaitUntilClientEnds(DWORD waitMs) const {
    return WaitUntil(
        [] {
            HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, kClientPresenceEvent);
            if (event == nullptr) {
                return true;
            }
            CloseHandle(event);
            return false;
        },
        waitMs);
}

std::string StandIns::CreateQueueFile(const std::string& name) const {
    CreateDirectoryA((folder_ + kQueueFolder).c_str(), nullptr);
    const std::string path = folder_ + kQueueFolder + name;
    std::ofstream(path) << "queue\n";
    return path;
}

std::string StandIns::MissingQueueFile(const std::string& name) const {
    const std::string path = folder_ + kQueueFolder + name;
    DeleteFileA(path.c_str());
    return path;
}

MonitorProcess::~MonitorProcess() {
    if (process_.hProcess != nullptr) {
        if (IsRunning()) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

bool MonitorProcess::Start() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + WindowsPath(MONITOR_EXE) + "\"";
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_)) {
        return false;
    }
    WaitForInputIdle(process_.hProcess, 10000);
    WaitUntil(
        [this] {
            HWND candidate = FindWindowA(kFrameClass, kFrameTitle);
            DWORD owner = 0;
            GetWindowThreadProcessId(candidate, &owner);
            frame_ = candidate != nullptr && owner == process_.dwProcessId ? candidate : nullptr;
            return frame_ != nullptr;
        },
        kStartWaitMs);
    // Start-up adds the icon just before it starts its workers; a tick sent earlier can be taken
    // in while the icon is being added and find them not yet started.
    return frame_ != nullptr && WaitUntil([this] { return IsTrayIconShown(); }, kStartWaitMs);
}

DWORD MonitorProcess::RunSecondCopy(DWORD waitMs) {
    MonitorProcess second;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + WindowsPath(MONITOR_EXE) + "\"";
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &second.process_)) {
        return STILL_ACTIVE;
    }
    WaitForSingleObject(second.process_.hProcess, waitMs);
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(second.process_.hProcess, &exitCode);
    return exitCode;
}

bool MonitorProcess::WaitForExit(DWORD waitMs) const {
    return WaitForSingleObject(process_.hProcess, waitMs) == WAIT_OBJECT_0;
}

bool MonitorProcess::IsRunning() const {
    DWORD exitCode = 0;
    return GetExitCodeProcess(process_.hProcess, &exitCode) && exitCode == STILL_ACTIVE;
}

std::string MonitorProcess::LogText() const {
    HWND log = FindWindowExA(frame_, nullptr, "RichEdit20A", nullptr);
    const LRESULT length = SendMessageA(log, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied =
        SendMessageA(log, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

std::vector<std::string> MonitorProcess::LogMessages() const {
    std::vector<std::string> messages;
    for (const std::string& line : SplitLines(LogText())) {
        const size_t stampEnd = line.find(" ]  ");
        messages.push_back(line.rfind("[ ", 0) == 0 && stampEnd != std::string::npos
                               ? line.substr(stampEnd + 4)
                               : line);
    }
    return messages;
}

std::vector<std::string> MonitorProcess::WaitForLogMessages(size_t count, DWORD waitMs) const {
    std::vector<std::string> messages;
    WaitUntil(
        [&] {
            messages = LogMessages();
            return messages.size() >= count;
        },
        waitMs);
    return messages;
}

void MonitorProcess::PostCommand(int id) const {
    PostMessageA(frame_, WM_COMMAND, id, 0);
}

void MonitorProcess::SendCommand(int id) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(frame_, WM_COMMAND, id, 0, SMTO_NORMAL, 20000, &result);
}

void MonitorProcess::SendTimer(UINT_PTR id) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(frame_, WM_TIMER, id, 0, SMTO_NORMAL, 20000, &result);
}

HWND MonitorProcess::WaitForWindow(const char* title, DWORD waitMs) const {
    WindowSearch search{process_.dwProcessId, title, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
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
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, registry::kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                    &key, nullptr);
    RegSetValueExA(key, registry::kInstallPathValue, 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(installFolder.c_str()),
                   static_cast<DWORD>(installFolder.size() + 1));
    RegCloseKey(key);
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

void SeedQueueRow(int row, const std::string& queueFile, const ScheduleRecord& record) {
    const std::string key = RowKey(registry::kQueueTable, row);
    SetDword(key, registry::kVersionEntry, 1);
    RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), registry::kQueueNameEntry, REG_SZ,
                    queueFile.c_str(), static_cast<DWORD>(queueFile.size() + 1));
    SetDword(key, registry::kDataSizeEntry, kScheduleRecordSize);
    RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), registry::kDataEntry, REG_BINARY, record.data(),
                    static_cast<DWORD>(record.size()));
}

std::optional<StoredQueueRow> ReadQueueRow(int row) {
    const std::string key = RowKey(registry::kQueueTable, row);
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    RegCloseKey(handle);
    StoredQueueRow stored;
    stored.version = GetDword(key, registry::kVersionEntry);
    const std::vector<uint8_t> name = GetRaw(key, registry::kQueueNameEntry, RRF_RT_REG_SZ);
    stored.queueName = std::string(name.begin(), std::find(name.begin(), name.end(), '\0'));
    stored.dataSize = GetDword(key, registry::kDataSizeEntry);
    stored.data = GetRaw(key, registry::kDataEntry, RRF_RT_REG_BINARY);
    return stored;
}

std::vector<uint8_t> StoredQueueData(int row) {
    const std::optional<StoredQueueRow> stored = ReadQueueRow(row);
    return stored ? stored->data : std::vector<uint8_t>();
}

std::vector<std::string> QueueRowNames() {
    return SubkeyNames(registry::kQueueTable);
}

void SeedTransferRow(int row, DWORD version) {
    SetDword(RowKey(registry::kTransferTable, row), registry::kVersionEntry, version);
}

std::vector<std::string> TransferRowNames() {
    return SubkeyNames(registry::kTransferTable);
}

void SetUrlMonitorPreference(DWORD value) {
    SetDword(std::string(registry::kUserRoot) + "\\" + registry::kPreferencesSection,
             registry::kUrlMonitorEntry, value);
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
    DWORD_PTR result = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, kMessageWaitMs,
                        &result);
}

void PostClickButton(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void SelectListEntry(HWND dialog, int listId, int index) {
    HWND list = GetDlgItem(dialog, listId);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_NORMAL,
                        kMessageWaitMs, &result);
    SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(list), SMTO_NORMAL, kMessageWaitMs, &result);
}

std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kMessageWaitMs, &length);
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_NORMAL, kMessageWaitMs, &copied);
    text.resize(std::min<size_t>(copied, length));
    return text;
}

std::string ItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

std::string MessageBoxText(HWND box) {
    return ItemText(box, kMessageBoxTextId);
}

// Wine copies a list box entry across processes as wide text whatever the caller's character
// set, so an ANSI buffer of the entry's length is overrun; the wide call gets what it asks for.
std::vector<std::string> ListBoxEntries(HWND list) {
    std::vector<std::string> entries;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        const LRESULT copied = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index),
                                            reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
        entries.push_back(AnsiText(text));
    }
    return entries;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD waitMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start >= waitMs) {
            return false;
        }
        Sleep(50);
    }
}

bool WaitForWindowToClose(HWND window, DWORD waitMs) {
    return WaitUntil([window] { return !IsWindow(window); }, waitMs);
}

#include "e2e/MonitorHarness.h"

#include <fstream>
#include <sstream>

#include "core/RegistryLayout.h"

namespace {

constexpr char kFrameClass[] = "VantrelMonitorFrame";
constexpr char kFrameTitle[] = "Vantrel Monitor";

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
    for (const char* file :
         {"Vantrel.args.txt", "Rushload.args.txt", "Vantrel.hold-ms", "Rushload.hold-ms"}) {
        DeleteFileA((folder_ + file).c_str());
    }
}

void StandIns::HoldClientFor(DWORD milliseconds) const {
    std::ofstream(folder_ + "Vantrel.hold-ms") << milliseconds;
}

std::vector<std::string> StandIns::Starts(const char* name, size_t count, DWORD waitMs) const {
    const DWORD start = GetTickCount();
    for (;;) {
        std::vector<std::string> lines = SplitLines(ReadFile(folder_ + name));
        if (lines.size() >= count || GetTickCount() - start >= waitMs) {
            return lines;
        }
        Sleep(50);
    }
}

std::vector<std::string> StandIns::ClientStarts(size_t count, DWORD waitMs) const {
    return Starts("Vantrel.args.txt", count, waitMs);
}

std::vector<std::string> StandIns::DownloaderStarts(size_t count, DWORD waitMs) const {
    return Starts("Rushload.args.txt", count, waitMs);
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
    for (int attempt = 0; attempt < 200 && frame_ == nullptr; ++attempt) {
        HWND candidate = FindWindowA(kFrameClass, kFrameTitle);
        DWORD owner = 0;
        GetWindowThreadProcessId(candidate, &owner);
        if (candidate != nullptr && owner == process_.dwProcessId) {
            frame_ = candidate;
        } else {
            Sleep(50);
        }
    }
    return frame_ != nullptr;
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
    const DWORD start = GetTickCount();
    for (;;) {
        std::vector<std::string> messages = LogMessages();
        if (messages.size() >= count || GetTickCount() - start >= waitMs) {
            return messages;
        }
        Sleep(50);
    }
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
    const DWORD start = GetTickCount();
    for (;;) {
        WindowSearch search{process_.dwProcessId, title, nullptr};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr || GetTickCount() - start >= waitMs) {
            return search.found;
        }
        Sleep(50);
    }
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

void ClickButton(HWND dialog, int id) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);
}

#include "app/Win32CompanionPlatform.h"

#include <windows.h>

#include <shellapi.h>

namespace {

HANDLE ProcessHandle(uintptr_t process) {
    return reinterpret_cast<HANDLE>(process);
}

}  // namespace

std::string SystemMessage(unsigned long error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length == 0 ? std::string() : std::string(text, length);
    LocalFree(text);
    while (!message.empty() &&
           (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
        message.pop_back();
    }
    return message.empty() ? "error " + std::to_string(error) : message;
}

bool Win32CompanionPlatform::IsEventPresent(const std::string& eventName) {
    HANDLE event = OpenEventA(EVENT_ALL_ACCESS, FALSE, eventName.c_str());
    if (event == nullptr) {
        return false;  // a refused open counts as absent as well
    }
    CloseHandle(event);
    return true;
}

// The same start as ShellExecute's, with the process kept: a companion counts as running while
// it comes up. No error box: a failed start is said in the log.
StartResult Win32CompanionPlatform::ShellOpen(const std::string& programFile,
                                              const std::optional<std::string>& argument) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = programFile.c_str();
    info.lpParameters = argument ? argument->c_str() : nullptr;
    info.nShow = SW_SHOW;
    if (!ShellExecuteExA(&info)) {
        return {false, 0, SystemMessage(GetLastError())};
    }
    return {true, reinterpret_cast<uintptr_t>(info.hProcess), {}};
}

bool Win32CompanionPlatform::IsProcessAlive(uintptr_t process) {
    return WaitForSingleObject(ProcessHandle(process), 0) == WAIT_TIMEOUT;
}

void Win32CompanionPlatform::ReleaseProcess(uintptr_t process) {
    CloseHandle(ProcessHandle(process));
}

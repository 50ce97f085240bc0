#include "app/Win32CompanionPlatform.h"

#include <windows.h>

#include <shellapi.h>

#include "app/SystemMessage.h"

namespace {

HANDLE ProcessHandle(uintptr_t process) {
    return reinterpret_cast<HANDLE>(process);
}

}  // namespace

// Mended: an open for full access is refused when the companion runs as administrator and this
// program does not, and the running client was started again at every tick. Presence needs no
// right but waiting, and only an event that exists can refuse access.
bool Win32CompanionPlatform::IsEventPresent(const std::string& eventName) {
    HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, eventName.c_str());
    if (event == nullptr) {
        return GetLastError() == ERROR_ACCESS_DENIED;
    }
    CloseHandle(event);
    return true;
}

// The same start as ShellExecute's, with the process kept: a companion counts as running while
// it comes up. No error box: a failed start is said in the log.
StartResult Win32CompanionPlatform::ShellOpen(const std::string& programFile,
                                              const std::optional<std::string>& argument) {
    apartment_.Enter();
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

#include "app/Win32CompanionPlatform.h"

#include <windows.h>

#include <shellapi.h>

bool Win32CompanionPlatform::IsEventPresent(const std::string& eventName) {
    HANDLE event = OpenEventA(EVENT_ALL_ACCESS, FALSE, eventName.c_str());
    if (event == nullptr) {
        return false;  // a refused open counts as absent as well
    }
    CloseHandle(event);
    return true;
}

void Win32CompanionPlatform::ShellOpen(const std::string& programFile,
                                       const std::optional<std::string>& argument) {
    ShellExecuteA(nullptr, "open", programFile.c_str(), argument ? argument->c_str() : nullptr,
                  nullptr, SW_SHOW);
}

#include "win/InnermostDialog.h"

#include <cstring>

namespace {

// The class of every dialog box and message box.
constexpr char kDialogClass[] = "#32770";

BOOL CALLBACK FindEnabledDialog(HWND window, LPARAM found) {
    char className[sizeof kDialogClass + 1] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, kDialogClass) != 0 || !IsWindowVisible(window) ||
        !IsWindowEnabled(window)) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

HWND InnermostDialog(DWORD threadId) {
    HWND found = nullptr;
    EnumThreadWindows(threadId, FindEnabledDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

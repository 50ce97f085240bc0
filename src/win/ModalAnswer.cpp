#include "win/ModalAnswer.h"

bool IsQuitPending() {
    MSG quit{};
    return PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

int AskMessageBox(HWND owner, const std::string& text, const char* caption, UINT type) {
    if (IsQuitPending()) {
        return 0;
    }
    const int answer = MessageBoxA(owner, text.c_str(), caption, type);
    return IsQuitPending() ? 0 : answer;
}

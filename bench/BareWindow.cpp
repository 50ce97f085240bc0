// The floor of start-up cost: a window created, shown, hidden and given a notification-area
// icon, as the monitor's start-up does, and nothing else.

#include <windows.h>

#include <shellapi.h>

#include "bench/WindowClasses.h"

namespace {

constexpr UINT kTrayIconId = 1;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kBareWindowClass;
    if (RegisterClassA(&windowClass) == 0) {
        return 1;
    }
    HWND window = CreateWindowExA(0, kBareWindowClass, "Bare window", WS_OVERLAPPEDWINDOW, 0, 0,
                                  450, 300, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    ShowWindow(window, SW_HIDE);

    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = kTrayIconId;
    icon.uFlags = NIF_ICON | NIF_TIP;
    icon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    lstrcpynA(icon.szTip, "Bare window", sizeof icon.szTip);
    Shell_NotifyIconA(NIM_ADD, &icon);

    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    Shell_NotifyIconA(NIM_DELETE, &icon);
    return 0;
}

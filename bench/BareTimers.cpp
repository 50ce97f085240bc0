// The floor of idle cost for this design: a hidden window with the monitor's two timers and
// nothing behind them.

#include <windows.h>

#include "bench/WindowClasses.h"
#include "scheduler/CTransferScheduler.h"
#include "urlmonitor/CUrlMonitor.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kBareTimersClass;
    if (RegisterClassA(&windowClass) == 0) {
        return 1;
    }
    HWND window =
        CreateWindowExA(0, kBareTimersClass, "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    SetTimer(window, kUrlMonitorTimer, kUrlMonitorPeriodMs, nullptr);
    SetTimer(window, kSchedulerTimer, kSchedulerPeriodMs, nullptr);
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}

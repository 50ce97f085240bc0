#include <windows.h>

#include "app/CMonitorApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CMonitorApp app;
    if (!app.InitInstance()) {
        return app.ExitInstance(0);
    }
    const int exitCode = app.Run();
    return app.ExitInstance(exitCode);
}

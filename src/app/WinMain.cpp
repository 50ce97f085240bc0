#include <windows.h>

#include "app/CMonitorApp.h"

namespace {

// Libraries that the system's own components load by name later are not looked for in the
// current folder, which may be one that others can write (Downloads, a share); where Windows has
// it (7 with KB2533623, and later), nor anywhere but the system folder.
void RestrictLibrarySearch() {
    SetDllDirectoryA("");
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD flags);
    const FARPROC found =
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (found != nullptr) {  // not imported: Windows 7 without the update would not load us
        reinterpret_cast<SetDefaultDirectories>(reinterpret_cast<void*>(found))(
            LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestrictLibrarySearch();
    CMonitorApp app;
    if (!app.InitInstance()) {
        return app.ExitInstance(0);
    }
    const int exitCode = app.Run();
    return app.ExitInstance(exitCode);
}

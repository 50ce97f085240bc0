// Stands in for a library planted under a system library's name: loaded, it creates the event
// "VantrelPlantedLibraryLoaded" for as long as the process lives.

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        CreateEventA(nullptr, TRUE, FALSE, "VantrelPlantedLibraryLoaded");
    }
    return TRUE;
}

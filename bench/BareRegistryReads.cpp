// The floor of a scheduler pass: the registry reads that the table's rules require, done by a
// bare loop when the same timer message arrives, with nothing cached and nothing decided. Each
// value the rules read is one profile read of its row's section, into a buffer large enough for
// any valid value.

#include <windows.h>

#include <string>
#include <vector>

#include "bench/WindowClasses.h"
#include "core/ClientLauncher.h"
#include "core/RegistryLayout.h"
#include "scheduler/CTransferScheduler.h"
#include "scheduler/ScheduleRecord.h"

namespace {

constexpr DWORD kPathBuffer = 1024;

std::vector<std::string> ListRows(REGSAM access) {
    std::vector<std::string> names;
    HKEY table = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, registry::kQueueTable, 0, access, &table) !=
        ERROR_SUCCESS) {
        return names;
    }
    for (DWORD index = 0;; ++index) {
        char name[registry::kSubkeyNameBuffer];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(table, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    RegCloseKey(table);
    return names;
}

std::string RowSection(const std::string& name) {
    return std::string(registry::kQueueTable) + "\\" + name;
}

// One profile read: the row's section opened, the value queried once, the section closed.
void Read(const std::string& section, const char* value, void* buffer, DWORD size) {
    RegGetValueA(HKEY_CURRENT_USER, section.c_str(), value, RRF_RT_ANY, nullptr, buffer, &size);
}

// What the purge reads: each row's queue file, whether it exists, and its version.
void ReadForPurge() {
    for (const std::string& name : ListRows(KEY_ALL_ACCESS)) {
        const std::string section = RowSection(name);
        char queueFile[kPathBuffer] = {};
        DWORD version = 0;
        Read(section, registry::kQueueNameEntry, queueFile, sizeof queueFile);
        Read(section, registry::kVersionEntry, &version, sizeof version);
        GetFileAttributesA(queueFile);
    }
}

// What reading each listed row takes: all four values.
void ReadForPass() {
    for (const std::string& name : ListRows(KEY_READ)) {
        const std::string section = RowSection(name);
        char queueFile[kPathBuffer] = {};
        DWORD dataSize = 0;
        DWORD version = 0;
        ScheduleRecord record{};
        Read(section, registry::kQueueNameEntry, queueFile, sizeof queueFile);
        Read(section, registry::kDataSizeEntry, &dataSize, sizeof dataSize);
        Read(section, registry::kVersionEntry, &version, sizeof version);
        Read(section, registry::kDataEntry, record.data(), static_cast<DWORD>(record.size()));
    }
}

void ReadTable() {
    HANDLE client = OpenEventA(EVENT_ALL_ACCESS, FALSE, companions::kClientEvent);
    if (client != nullptr) {
        CloseHandle(client);
        return;
    }
    ReadForPurge();
    ReadForPass();
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kSchedulerTimer) {
        ReadTable();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kBareRegistryReadsClass;
    if (RegisterClassA(&windowClass) == 0) {
        return 1;
    }
    if (CreateWindowExA(0, kBareRegistryReadsClass, "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                        nullptr) == nullptr) {
        return 1;
    }
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}

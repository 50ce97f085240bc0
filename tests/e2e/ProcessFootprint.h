#pragma once

// What a long-running process holds, read from outside it: shared by the soak test and the
// benchmarks. Header-only so that both build it without another source file.

#include <windows.h>

#include <psapi.h>
#include <winternl.h>

#include <vector>

struct ProcessFootprint {
    DWORD handles = 0;
    DWORD windows = 0;      // top-level and child windows
    DWORD userObjects = 0;  // as GetGuiResources reports them; 0 where it is not implemented
    DWORD gdiObjects = 0;
    SIZE_T privateBytes = 0;
    SIZE_T committedBytes = 0;  // the program's own: see CommittedPrivateBytes
};

// Wine's GetProcessHandleCount answers 0 for another process; the system's process list carries
// the server's count there, and the same count on Windows.
inline DWORD HandleCountFromProcessList(DWORD processId) {
    using QueryFunction = NTSTATUS(NTAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<unsigned char> buffer(16 << 20);
    ULONG needed = 0;
    if (query == nullptr || query(SystemProcessInformation, buffer.data(),
                                  static_cast<ULONG>(buffer.size()), &needed) != 0) {
        return 0;
    }
    for (size_t offset = 0, next = 1; next != 0; offset += next) {
        const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(&buffer[offset]);
        if (static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId)) == processId) {
            return entry->HandleCount;
        }
        next = entry->NextEntryOffset;
    }
    return 0;
}

// A stdcall callback: at 32 bits a captureless lambda converts only to a cdecl pointer.
inline BOOL CALLBACK CountProcessWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<std::pair<DWORD, DWORD*>*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    *search->second += owner == search->first ? 1 : 0;
    return TRUE;
}

// The private memory committed in the program's own address space, region by region: what Windows
// counts as private bytes. Under emulation it leaves out the emulator's memory (its translated
// code, its tables), which lies outside that address space but inside the process's figure.
inline SIZE_T CommittedPrivateBytes(HANDLE process) {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* address = nullptr;
         VirtualQueryEx(process, address, &region, sizeof region) == sizeof region;) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += region.RegionSize;
        }
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address) {
            break;  // the last region ends at the top of the address space
        }
        address = next;
    }
    return total;
}

inline ProcessFootprint MeasureFootprint(DWORD processId) {
    ProcessFootprint footprint;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) {
        return footprint;
    }
    if (!GetProcessHandleCount(process, &footprint.handles) || footprint.handles == 0) {
        footprint.handles = HandleCountFromProcessList(processId);
    }
    footprint.userObjects = GetGuiResources(process, GR_USEROBJECTS);
    footprint.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
        // Windows defines both as the commit charge; Wine fills only the page-file figure, with
        // the process's private resident memory.
        footprint.privateBytes =
            memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
    }
    footprint.committedBytes = CommittedPrivateBytes(process);
    CloseHandle(process);
    std::pair<DWORD, DWORD*> search{processId, &footprint.windows};
    // From the desktop: every top-level window and every child.
    EnumChildWindows(GetDesktopWindow(), CountProcessWindow, reinterpret_cast<LPARAM>(&search));
    return footprint;
}

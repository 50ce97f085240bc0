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

    bool operator==(const ProcessFootprint& other) const {
        return handles == other.handles && windows == other.windows &&
               userObjects == other.userObjects && gdiObjects == other.gdiObjects &&
               privateBytes == other.privateBytes;
    }
};

namespace footprint_detail {

struct WindowCount {
    DWORD processId;
    DWORD count;
};

inline BOOL CALLBACK CountChild(HWND, LPARAM parameter) {
    ++reinterpret_cast<WindowCount*>(parameter)->count;
    return TRUE;
}

inline BOOL CALLBACK CountTopLevel(HWND window, LPARAM parameter) {
    auto* windows = reinterpret_cast<WindowCount*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == windows->processId) {
        ++windows->count;
        EnumChildWindows(window, CountChild, parameter);
    }
    return TRUE;
}

// Wine's GetProcessHandleCount answers 0 for another process; the system's process list carries
// the server's count there, and the same count on Windows.
inline DWORD HandleCountFromProcessList(DWORD processId) {
    using QueryFunction = NTSTATUS(NTAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) {
        return 0;
    }
    std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    while (query(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                 &needed) != 0) {
        if (needed <= buffer.size() || buffer.size() >= (64u << 20)) {
            return 0;
        }
        buffer.resize(needed + 65536);
    }
    for (size_t offset = 0;;) {
        const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(&buffer[offset]);
        if (static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId)) == processId) {
            return entry->HandleCount;
        }
        if (entry->NextEntryOffset == 0) {
            return 0;
        }
        offset += entry->NextEntryOffset;
    }
}

}  // namespace footprint_detail

inline ProcessFootprint MeasureFootprint(DWORD processId) {
    ProcessFootprint footprint;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) {
        return footprint;
    }
    if (!GetProcessHandleCount(process, &footprint.handles) || footprint.handles == 0) {
        footprint.handles = footprint_detail::HandleCountFromProcessList(processId);
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
    CloseHandle(process);
    footprint_detail::WindowCount windows{processId, 0};
    EnumWindows(footprint_detail::CountTopLevel, reinterpret_cast<LPARAM>(&windows));
    footprint.windows = windows.count;
    return footprint;
}

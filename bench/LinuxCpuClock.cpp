#include "bench/LinuxCpuClock.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

namespace {

constexpr char kProcFolder[] = "Z:\\proc\\";

bool IsUnderWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// The file's bytes; /proc files report no size, so they are read until the end.
std::string ReadProcFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        text.append(buffer, read);
    }
    CloseHandle(file);
    return text;
}

std::vector<std::string> NumberedEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry{};
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if (entry.cFileName[0] >= '0' && entry.cFileName[0] <= '9') {
            names.emplace_back(entry.cFileName);
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
}

}  // namespace

std::optional<LinuxCpuClock> LinuxCpuClock::Find(const std::string& windowsPath) {
    if (!IsUnderWine()) {
        return std::nullopt;
    }
    for (const std::string& pid : NumberedEntries(kProcFolder)) {
        const std::string folder = kProcFolder + pid + "\\";
        const std::string commandLine = ReadProcFile(folder + "cmdline");
        if (_stricmp(commandLine.c_str(), windowsPath.c_str()) == 0) {
            return LinuxCpuClock(folder);
        }
    }
    return std::nullopt;
}

std::optional<double> LinuxCpuClock::CpuSeconds() const {
    const std::vector<std::string> threads = NumberedEntries(processFolder_ + "task\\");
    if (threads.empty()) {
        return std::nullopt;
    }
    unsigned long long nanoseconds = 0;
    for (const std::string& thread : threads) {
        const std::string schedule =
            ReadProcFile(processFolder_ + "task\\" + thread + "\\schedstat");
        nanoseconds += std::strtoull(schedule.c_str(), nullptr, 10);
    }
    return static_cast<double>(nanoseconds) / 1e9;
}

// Stands in for Vantrel.exe or Rushload.exe: records its raw argument text in
// "<name>.args.txt" beside itself, and again after its creation time in "<name>.starts.txt", and
// holds its presence event for "<name>.hold-ms" milliseconds.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string RawArguments() {
    const char* line = GetCommandLineA();
    if (*line == '"') {
        ++line;
        while (*line != '\0' && *line != '"') {
            ++line;
        }
        if (*line == '"') {
            ++line;
        }
    } else {
        while (*line != '\0' && *line != ' ' && *line != '\t') {
            ++line;
        }
    }
    while (*line == ' ' || *line == '\t') {
        ++line;
    }
    return line;
}

void AppendLine(const std::string& file, const std::string& text) {
    const std::string line = text + "\n";
    for (int attempt = 0; attempt < 100; ++attempt) {
        HANDLE handle = CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(handle);
            return;
        }
        Sleep(20);  // another stand-in is appending right now
    }
}

// Starts in quick succession race to their first write; the creation time keeps their order.
std::string CreationStamp() {
    FILETIME creation{};
    FILETIME unused{};
    GetProcessTimes(GetCurrentProcess(), &creation, &unused, &unused, &unused);
    const unsigned long long stamp =
        (static_cast<unsigned long long>(creation.dwHighDateTime) << 32) | creation.dwLowDateTime;
    return std::to_string(stamp);
}

DWORD HoldMilliseconds(const std::string& file) {
    FILE* input = std::fopen(file.c_str(), "r");
    if (input == nullptr) {
        return 0;
    }
    unsigned long value = 0;
    if (std::fscanf(input, "%lu", &value) != 1) {
        value = 0;
    }
    std::fclose(input);
    return static_cast<DWORD>(value);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string self(path, length);
    const size_t slash = self.find_last_of('\\');
    const std::string folder = self.substr(0, slash + 1);
    std::string name = self.substr(slash + 1);
    name = name.substr(0, name.find_last_of('.'));

    const bool downloader = _stricmp(name.c_str(), "Rushload") == 0;
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE,
                                downloader ? "VANTRELRUSHLOADInstance" : "VANTRELInstance");
    const std::string arguments = RawArguments();
    AppendLine(folder + name + ".args.txt", arguments);
    AppendLine(folder + name + ".starts.txt", CreationStamp() + " " + arguments);
    Sleep(HoldMilliseconds(folder + name + ".hold-ms"));
    if (event != nullptr) {
        CloseHandle(event);
    }
    return 0;
}

// Stands in for Vantrel.exe or Rushload.exe: creates its presence event "<name>.announce-ms" ms
// after its start, as the real programs do some time after theirs, then appends its creation
// time and raw argument text to "<name>.starts.txt" beside itself.

#include <windows.h>

#include <fstream>
#include <string>

namespace {

void AppendLine(const std::string& path, const std::string& text) {
    const std::string line = text + "\n";
    for (int attempt = 0; attempt < 100; ++attempt, Sleep(20)) {  // another start may be writing
        HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(file);
            return;
        }
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH];
    const std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    const size_t slash = self.find_last_of('\\');
    const std::string name = self.substr(slash + 1, self.find_last_of('.') - slash - 1);
    const std::string stem = self.substr(0, slash + 1) + name;
    DWORD announceMs = 0;
    std::ifstream(stem + ".announce-ms") >> announceMs;
    Sleep(announceMs);
    HANDLE event = CreateEventA(
        nullptr, FALSE, FALSE,
        _stricmp(name.c_str(), "Rushload") == 0 ? "VANTRELRUSHLOADInstance" : "VANTRELInstance");
    const char* arguments = GetCommandLineA();
    const char programEnd = *arguments == '"' ? '"' : ' ';
    for (arguments += programEnd == '"' ? 1 : 0; *arguments != '\0' && *arguments != programEnd;) {
        ++arguments;
    }
    arguments += *arguments == '"' ? 1 : 0;
    while (*arguments == ' ' || *arguments == '\t') {
        ++arguments;
    }
    // Starts in quick succession race to their first write; the creation time keeps their order.
    FILETIME creation{};
    FILETIME unused{};
    GetProcessTimes(GetCurrentProcess(), &creation, &unused, &unused, &unused);
    const std::string stamp = std::to_string(
        (static_cast<unsigned long long>(creation.dwHighDateTime) << 32) | creation.dwLowDateTime);
    AppendLine(stem + ".starts.txt", stamp + " " + arguments);
    CloseHandle(event);
    return 0;
}

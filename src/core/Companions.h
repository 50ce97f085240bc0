#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the shell said to one start.
struct StartResult {
    bool started = false;
    // The started process, held until ReleaseProcess; 0 when the shell named none.
    uintptr_t process = 0;
    // The system's own words for a failed start.
    std::string reason;
};

// The platform calls behind the companion programs: the presence probe of a named event, the
// shell's "open" of a program file with at most one argument, and the started process.
class CompanionPlatform {
public:
    virtual ~CompanionPlatform() = default;
    // Opens the event and closes it at once; an event that refuses access is there, any other
    // failure counts as absent.
    virtual bool IsEventPresent(const std::string& eventName) = 0;
    virtual StartResult ShellOpen(const std::string& programFile,
                                  const std::optional<std::string>& argument) = 0;
    virtual bool IsProcessAlive(uintptr_t process) = 0;
    virtual void ReleaseProcess(uintptr_t process) = 0;
};

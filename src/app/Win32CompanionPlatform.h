#pragma once

#include "core/Companions.h"

class Win32CompanionPlatform : public CompanionPlatform {
public:
    bool IsEventPresent(const std::string& eventName) override;
    StartResult ShellOpen(const std::string& programFile,
                          const std::optional<std::string>& argument) override;
    bool IsProcessAlive(uintptr_t process) override;
    void ReleaseProcess(uintptr_t process) override;
};

// The system's text for an error code, without its line break; the number when it has none.
std::string SystemMessage(unsigned long error);

#pragma once

#include "app/ComApartment.h"
#include "core/Companions.h"

class Win32CompanionPlatform : public CompanionPlatform {
public:
    bool IsEventPresent(const std::string& eventName) override;
    StartResult ShellOpen(const std::string& programFile,
                          const std::optional<std::string>& argument) override;
    bool IsProcessAlive(uintptr_t process) override;
    void ReleaseProcess(uintptr_t process) override;

private:
    ComApartment apartment_;
};

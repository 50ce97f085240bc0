#pragma once

#include "core/Companions.h"

class Win32CompanionPlatform : public CompanionPlatform {
public:
    bool IsEventPresent(const std::string& eventName) override;
    void ShellOpen(const std::string& programFile,
                   const std::optional<std::string>& argument) override;
};

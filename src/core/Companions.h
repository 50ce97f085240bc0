#pragma once

#include <optional>
#include <string>

// The two platform calls behind the companion programs: the presence probe of a named event and
// the shell's "open" of a program file with at most one argument.
class CompanionPlatform {
public:
    virtual ~CompanionPlatform() = default;
    // Opens the event and closes it at once; any failure counts as absent.
    virtual bool IsEventPresent(const std::string& eventName) = 0;
    virtual void ShellOpen(const std::string& programFile,
                           const std::optional<std::string>& argument) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual bool FileExists(const std::string& path) = 0;
};

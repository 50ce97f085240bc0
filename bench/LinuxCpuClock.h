#pragma once

#include <optional>
#include <string>

// Wine's GetProcessTimes counts whole Linux clock ticks of 10 ms, coarser than what a minute of
// idle timers costs. Under Wine the Linux scheduler's own count, in nanoseconds per thread, is
// read instead, through the drive that maps the Unix root. The process is found by the Windows
// path that Wine gives a process it starts as its Unix command line.
class LinuxCpuClock {
public:
    // Nothing when not running under Wine or when no such process is found.
    static std::optional<LinuxCpuClock> Find(const std::string& windowsPath);
    // Run time of all the process's threads; nothing once the process has gone.
    std::optional<double> CpuSeconds() const;

private:
    explicit LinuxCpuClock(std::string processFolder) : processFolder_(std::move(processFolder)) {}

    std::string processFolder_;
};

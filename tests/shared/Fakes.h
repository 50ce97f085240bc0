#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/Companions.h"
#include "core/LogSink.h"
#include "core/TimerHost.h"

// Recording stand-ins for the seams, shared by the unit tests.

struct LoggedLine {
    std::string text;
    Colour colour;
    bool operator==(const LoggedLine& other) const {
        return text == other.text && colour == other.colour;
    }
};

class RecordingLog : public LogSink {
public:
    int Append(const std::string& message, Colour colour) override {
        lines.push_back({message, colour});
        return 1;
    }
    std::vector<LoggedLine> lines;
};

class FakeClock : public Clock {
public:
    explicit FakeClock(Time32 now = 0) : now(now) {}
    Time32 Now() const override { return now; }
    Time32 now;
};

class FakeTicks : public TickSource {
public:
    uint32_t TickCount() const override { return now; }
    uint32_t now = 0;
};

struct Launch {
    std::string program;
    std::optional<std::string> argument;
    bool operator==(const Launch& other) const {
        return program == other.program && argument == other.argument;
    }
};

class FakeCompanions : public CompanionPlatform {
public:
    bool IsEventPresent(const std::string& eventName) override {
        ++probes;
        return presentEvents.count(eventName) != 0;
    }
    void ShellOpen(const std::string& programFile,
                   const std::optional<std::string>& argument) override {
        launches.push_back({programFile, argument});
        if (eventRaisedByLaunch) {
            presentEvents.insert(*eventRaisedByLaunch);
        }
    }
    std::set<std::string> presentEvents;
    std::vector<Launch> launches;
    // When set, a launch makes that event present, like a companion that starts at once.
    std::optional<std::string> eventRaisedByLaunch;
    int probes = 0;
};

class FakeFileSystem : public FileSystem {
public:
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    std::set<std::string> files;
};

class FakeTimerHost : public TimerHost {
public:
    bool StartTimer(uintptr_t id, unsigned periodMs) override {
        timers[id] = periodMs;
        return true;
    }
    bool StopTimer(uintptr_t id) override { return timers.erase(id) != 0; }
    std::map<uintptr_t, unsigned> timers;
};

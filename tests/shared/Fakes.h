#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/Companions.h"
#include "core/LogSink.h"
#include "core/TimerHost.h"

// Recording stand-ins for the seams, shared by the unit, Wine and fuzz tests.

struct LoggedLine {
    std::string text;
    Colour colour;
    bool operator==(const LoggedLine& o) const { return text == o.text && colour == o.colour; }
};

struct RecordingLog : LogSink {
    int Append(const std::string& message, Colour colour) override {
        lines.push_back({message, colour});
        return 1;
    }
    std::vector<LoggedLine> lines;
};

struct FakeClock : Clock {
    explicit FakeClock(Time32 now = 0) : now(now) {}
    Time32 Now() const override { return now; }
    Time32 now;
};

// A local time that must exist; the tests run with TZ=UTC.
inline Time32 LocalTime(int year, int month, int day, int hour = 0, int min = 0, int sec = 0) {
    return FromLocalFields(year, month, day, hour, min, sec).value();
}

struct FakeTicks : TickSource {
    uint32_t TickCount() const override { return now; }
    uint32_t now = 0;
};

struct Launch {
    std::string program;
    std::optional<std::string> argument;
    bool operator==(const Launch& o) const {
        return program == o.program && argument == o.argument;
    }
};

struct FakeCompanions : CompanionPlatform {
    bool IsEventPresent(const std::string& eventName) override {
        return presentEvents.count(eventName) != 0;
    }
    void ShellOpen(const std::string& programFile,
                   const std::optional<std::string>& argument) override {
        launches.push_back({programFile, argument});
        if (onLaunch) {
            onLaunch();
        }
    }
    std::set<std::string> presentEvents;
    std::vector<Launch> launches;
    std::function<void()> onLaunch;  // what the started program does at once
};

struct FakeFileSystem : FileSystem {
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    std::set<std::string> files;
};

struct FakeTimerHost : TimerHost {
    bool StartTimer(uintptr_t id, unsigned periodMs) override {
        timers[id] = periodMs;
        return true;
    }
    bool StopTimer(uintptr_t id) override { return timers.erase(id) != 0; }
    std::map<uintptr_t, unsigned> timers;
};

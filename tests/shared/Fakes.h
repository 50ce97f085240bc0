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
#include "core/FileSystem.h"
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

// Every start succeeds with a process that stays alive, unless `failure` names a reason.
struct FakeCompanions : CompanionPlatform {
    bool IsEventPresent(const std::string& eventName) override {
        return presentEvents.count(eventName) != 0;
    }
    StartResult ShellOpen(const std::string& programFile,
                          const std::optional<std::string>& argument) override {
        launches.push_back({programFile, argument});
        if (onLaunch) {
            onLaunch();
        }
        if (!failure.empty()) {
            return {false, 0, failure};
        }
        alive.insert(++lastProcess);
        return {true, lastProcess, {}};
    }
    bool IsProcessAlive(uintptr_t process) override { return alive.count(process) != 0; }
    void ReleaseProcess(uintptr_t process) override { released.insert(process); }
    std::set<std::string> presentEvents;
    std::vector<Launch> launches;
    std::function<void()> onLaunch;  // what happens while the shell starts the program
    std::string failure;
    std::set<uintptr_t> alive, released;
    uintptr_t lastProcess = 0;
};

// Paths in `files` are there, those in `outOfReach` cannot be tested now (for the reason
// given), the rest are gone.
struct FakeFileSystem : FileSystem {
    std::vector<FileCheck> Probe(const std::vector<std::string>& paths) override {
        if (onProbe) {
            onProbe();  // what happens while the files are tested
        }
        std::vector<FileCheck> checks;
        for (const std::string& path : paths) {
            const auto away = outOfReach.find(path);
            checks.push_back(files.count(path) ? FileCheck{FileState::Present, {}}
                             : away != outOfReach.end()
                                 ? FileCheck{FileState::OutOfReach, away->second}
                                 : FileCheck{FileState::Absent, {}});
        }
        return checks;
    }
    std::set<std::string> files;
    std::map<std::string, std::string> outOfReach;
    std::function<void()> onProbe;
};

struct FakeTimerHost : TimerHost {
    bool StartTimer(uintptr_t id, unsigned periodMs) override {
        timers[id] = periodMs;
        return true;
    }
    bool StopTimer(uintptr_t id) override { return timers.erase(id) != 0; }
    std::map<uintptr_t, unsigned> timers;
};

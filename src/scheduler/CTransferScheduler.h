#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "core/ClientLauncher.h"
#include "core/Clock.h"
#include "core/FileSystem.h"
#include "core/LogSink.h"
#include "core/SettingsStore.h"
#include "core/TimerHost.h"

class CQueueScheduleStore;

constexpr uintptr_t kSchedulerTimer = 2;
constexpr unsigned kSchedulerPeriodMs = 60000;

// Once a minute, starts the client on a scheduled queue that is due, one start per pass, and
// removes the row when it has no further run. Never writes a row back: the client moves a
// periodic schedule on. Due rows take turns, so a row that stays due cannot keep the others
// waiting; a row whose start failed, or whose queue file is out of reach, is kept as it is. A due
// row held back for its file is said once, until it runs, goes, or the reason changes.
class CTransferScheduler {
public:
    CTransferScheduler(SettingsStore& settings, FileSystem& files, ClientLauncher& launcher,
                       const Clock& clock);

    void Attach(LogSink& log) { log_ = &log; }
    // Starting and stopping are silent; only SetEnabled writes the state line.
    bool StartTimer(TimerHost& host);
    bool StopTimer(TimerHost& host);
    void SetEnabled(bool enabled);
    bool IsEnabled() const { return enabled_; }
    void OnTimerTick();

private:
    void RunPass();
    // True when the row was due and its file at hand: the pass ends there, whether the start
    // succeeded or not, since the next row would meet the same client.
    bool RunRowIfDue(CQueueScheduleStore& store, int row,
                     const std::map<int, std::string>& outOfReach);
    void SayHeldBack(int row, const std::string& queuePath, const std::string& reason);
    void ForgetHeldBackRowsNotIn(const std::vector<int>& rows);
    void Log(const std::string& text, Colour colour);

    SettingsStore& settings_;
    FileSystem& files_;
    ClientLauncher& launcher_;
    const Clock& clock_;
    bool enabled_ = false;
    bool busy_ = false;    // a timer message dispatched inside a pass must not start another
    int lastStarted_ = 0;  // the row the last start went to; 0 for none
    std::map<int, std::string> heldBackLines_;  // the line said for each row held back
    LogSink* log_ = nullptr;
};

#include "scheduler/CTransferScheduler.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/MemorySettingsStore.h"
#include "scheduler/CQueueScheduleStore.h"
#include "scheduler/CSchedule.h"
#include "scheduler/QueueCheck.h"
#include "shared/Fakes.h"

namespace {

const std::string kTable = "Software\\Morrowfen\\VANTREL\\CurrentVersion\\Scheduler\\Queue";
const std::string kClient = "C:\\Vantrel\\Vantrel.exe";
const std::string kQueueA = "C:\\My Queues\\a.ftq";
const std::string kQueueB = "C:\\My Queues\\b.ftq";
constexpr int32_t kMinutes = 0, kDays = 2, kMonths = 4;

Time32 Utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return FromLocalFields(year, month, day, hour, minute, second).value();
}

std::vector<LoggedLine> Started(const std::string& queuePath) {
    return {{"Transfert Scheduler - Transferring Queue:", kGreen}, {queuePath, kBlack}};
}

std::vector<LoggedLine> operator+(std::vector<LoggedLine> lines,
                                  const std::vector<LoggedLine>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

const std::vector<LoggedLine> kNoMoreRuns{{"No more scheduled transfert for this queue.", kMaroon}};

std::vector<LoggedLine> NextRun(const std::string& time) {
    return {{"Next scheduled transfert for this queue: " + time, kGreen}};
}

// Calls back once from inside the pass, as a timer message dispatched by a nested loop would.
class ReenteringLog : public RecordingLog {
public:
    int Append(const std::string& message, Colour colour) override {
        RecordingLog::Append(message, colour);
        if (reenter) {
            std::function<void()> action = std::move(reenter);
            reenter = nullptr;
            action();
        }
        return 1;
    }
    std::function<void()> reenter;
};

class TransferScheduler : public ::testing::Test {
protected:
    void SetUp() override {
        launcher.SetInstallFolder("C:\\Vantrel\\");
        scheduler.Attach(log);
        scheduler.StartTimer(host);
    }
    CSchedule Periodic(int32_t unit, int32_t count, Time32 anchor,
                       std::optional<Time32> end = std::nullopt) {
        CSchedule schedule(clock);
        schedule.onceFlag = false;
        schedule.unit = unit;
        schedule.count = count;
        schedule.anchorTime = anchor;
        schedule.endDateFlag = end.has_value();
        schedule.endTime = end.value_or(0);
        return schedule;
    }
    CSchedule Once(Time32 start) {
        CSchedule schedule(clock);
        schedule.startTime = start;
        return schedule;
    }
    void AddQueue(int row, const std::string& queuePath, const CSchedule& schedule) {
        CQueueScheduleStore(settings, files).WriteRow(row, schedule.ToRecord(), queuePath);
        files.files.insert(queuePath);
    }
    bool HasRow(int row) {
        return settings.KeyExists(MemorySettingsStore::Hive::User,
                                  kTable + "\\" + std::to_string(row));
    }
    Launch QueueLaunch(const std::string& queuePath) {
        return {kClient, "\"ftq://" + queuePath + "\""};
    }

    MemorySettingsStore settings;
    FakeFileSystem files;
    FakeCompanions platform;
    ClientLauncher launcher{platform};
    FakeClock clock{Utc(2001, 5, 7, 10, 30, 5)};
    RecordingLog log;
    FakeTimerHost host;
    CTransferScheduler scheduler{settings, files, launcher, clock};
};

}  // namespace

TEST_F(TransferScheduler, TimerStartsAndStopsSilentlyAndOnlySetEnabledWritesTheStateLine) {
    EXPECT_EQ(host.timers, (std::map<uintptr_t, unsigned>{{2, 60000}}));
    EXPECT_TRUE(scheduler.IsEnabled());
    scheduler.SetEnabled(false);
    EXPECT_FALSE(scheduler.IsEnabled());
    scheduler.SetEnabled(true);
    scheduler.StopTimer(host);
    EXPECT_TRUE(host.timers.empty());
    EXPECT_FALSE(scheduler.IsEnabled());
    EXPECT_EQ(log.lines, (std::vector<LoggedLine>{{"Transfer Scheduler Disabled.", kNavy},
                                                  {"Transfer Scheduler Enabled.", kNavy}}));
}

TEST_F(TransferScheduler, DisabledOrClientRunningTickLeavesNoTraceNotEvenAPurge) {
    AddQueue(1, kQueueA, Once(Utc(2001, 5, 7, 10)));
    AddQueue(2, kQueueB, Once(Utc(2001, 5, 7, 10)));
    files.files.erase(kQueueB);
    scheduler.SetEnabled(false);
    log.lines.clear();
    scheduler.OnTimerTick();
    scheduler.SetEnabled(true);
    log.lines.clear();
    platform.presentEvents.insert("VANTRELInstance");
    scheduler.OnTimerTick();
    EXPECT_TRUE(log.lines.empty());
    EXPECT_TRUE(platform.launches.empty());
    EXPECT_TRUE(HasRow(1) && HasRow(2));
}

TEST_F(TransferScheduler, ATickDispatchedDuringAPassDoesNothing) {
    ReenteringLog reentering;
    reentering.reenter = [this] { scheduler.OnTimerTick(); };
    scheduler.Attach(reentering);
    AddQueue(1, kQueueA, Periodic(kMinutes, 30, Utc(2001, 5, 7, 10)));
    AddQueue(2, kQueueB, Periodic(kMinutes, 30, Utc(2001, 5, 7, 10)));
    scheduler.OnTimerTick();
    EXPECT_EQ(platform.launches, (std::vector<Launch>{QueueLaunch(kQueueB), QueueLaunch(kQueueA)}));
}

TEST_F(TransferScheduler, DueRunOnceQueueStartsAndIsRemoved) {
    AddQueue(1, kQueueA, Once(Utc(2001, 5, 7, 10)));
    scheduler.OnTimerTick();
    EXPECT_EQ(log.lines, Started(kQueueA) + kNoMoreRuns);
    EXPECT_EQ(platform.launches, std::vector<Launch>{QueueLaunch(kQueueA)});
    EXPECT_FALSE(HasRow(1));
}

TEST_F(TransferScheduler, DuePeriodicQueueStartsWithItsNextRunAndIsNotWrittenBack) {
    AddQueue(1, kQueueA, Periodic(kMinutes, 30, Utc(2001, 5, 7, 10)));
    const std::string before = settings.Dump(MemorySettingsStore::Hive::User);
    scheduler.OnTimerTick();
    EXPECT_EQ(log.lines, Started(kQueueA) + NextRun("05/07/01 11:00:00"));
    EXPECT_EQ(settings.Dump(MemorySettingsStore::Hive::User), before);
    scheduler.OnTimerTick();
    EXPECT_EQ(platform.launches.size(), 2u);
}

TEST_F(TransferScheduler, DueMonthlyQueueWithoutEndDateLogsNoNextRun) {
    AddQueue(1, kQueueA, Periodic(kMonths, 1, Utc(2001, 4, 7, 10)));
    scheduler.OnTimerTick();
    EXPECT_EQ(log.lines, Started(kQueueA));
    EXPECT_TRUE(HasRow(1));
}

TEST_F(TransferScheduler, DueQueueWhoseNextRunFallsAfterItsEndIsRemoved) {
    clock.now = Utc(2001, 5, 27, 8, 0, 30);
    AddQueue(1, kQueueA, Periodic(kDays, 7, Utc(2001, 5, 20, 8), Utc(2001, 6, 1)));
    scheduler.OnTimerTick();
    EXPECT_EQ(log.lines, Started(kQueueA) + kNoMoreRuns);
    EXPECT_FALSE(HasRow(1));
}

TEST_F(TransferScheduler, QueuesThatAreNotDueOrDoNotReadAreLeftAlone) {
    CSchedule disabled = Once(Utc(2001, 5, 7, 10));
    disabled.disabledFlag = true;
    AddQueue(1, "C:\\q\\later.ftq", Periodic(kMinutes, 60, Utc(2001, 5, 7, 10)));
    AddQueue(2, "C:\\q\\ended.ftq", Periodic(kMinutes, 1, Utc(2001, 5, 7, 9), Utc(2001, 5, 7, 10)));
    AddQueue(3, "C:\\q\\disabled.ftq", disabled);
    AddQueue(4, "C:\\q\\short.ftq", Once(Utc(2001, 5, 7, 10)));
    settings.WriteBinary("CurrentVersion\\Scheduler\\Queue\\4", "Data", std::vector<uint8_t>(31));
    scheduler.OnTimerTick();
    EXPECT_TRUE(log.lines.empty());
    EXPECT_TRUE(platform.launches.empty());
    EXPECT_TRUE(HasRow(1) && HasRow(2) && HasRow(3) && HasRow(4));
}

TEST_F(TransferScheduler, DueQueuesRunFromTheLastListedToTheFirst) {
    AddQueue(1, kQueueA, Once(Utc(2001, 5, 7, 10)));
    AddQueue(2, kQueueB, Once(Utc(2001, 5, 7, 10)));
    scheduler.OnTimerTick();
    EXPECT_EQ(log.lines, Started(kQueueB) + kNoMoreRuns + Started(kQueueA) + kNoMoreRuns);
    EXPECT_EQ(platform.launches, (std::vector<Launch>{QueueLaunch(kQueueB), QueueLaunch(kQueueA)}));
}

TEST_F(TransferScheduler, QueueMetWhileTheClientStartedForAnotherRunsIsKeptForALaterPass) {
    platform.eventRaisedByLaunch = "VANTRELInstance";
    AddQueue(1, kQueueA, Once(Utc(2001, 5, 7, 10)));
    AddQueue(2, kQueueB, Once(Utc(2001, 5, 7, 10)));
    scheduler.OnTimerTick();
    EXPECT_EQ(log.lines, Started(kQueueB) + kNoMoreRuns);
    EXPECT_EQ(platform.launches, std::vector<Launch>{QueueLaunch(kQueueB)});
    EXPECT_TRUE(HasRow(1));
}

TEST_F(TransferScheduler, CheckLineTellsWhetherRowOneIsDueAndNothingWithoutIt) {
    AddQueue(2, kQueueB, Once(Utc(2001, 5, 7, 10)));
    EXPECT_EQ(QueueCheckLine(settings, files, clock), std::nullopt);
    AddQueue(1, kQueueA, Once(Utc(2001, 5, 7, 10)));
    EXPECT_EQ(QueueCheckLine(settings, files, clock), "Must Run");
    AddQueue(1, kQueueA, Once(Utc(2001, 5, 7, 11)));
    EXPECT_EQ(QueueCheckLine(settings, files, clock), "Must NOT run");
    EXPECT_TRUE(log.lines.empty());
}

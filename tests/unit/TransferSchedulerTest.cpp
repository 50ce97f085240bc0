#include "scheduler/CTransferScheduler.h"

#include <gtest/gtest.h>

#include <tuple>

#include "scheduler/CQueueScheduleStore.h"
#include "scheduler/CSchedule.h"
#include "shared/Fakes.h"
#include "shared/MemorySettingsStore.h"

namespace {

constexpr int32_t kMinutes = 0, kDays = 2, kMonths = 4, kOnce = -1;
constexpr std::optional<Time32> kNoEnd;
enum class Spoil { None, Disabled, DataSize };

std::string QueuePath(int row) {
    return "C:\\My Queues\\" + std::to_string(row) + ".ftq";
}

struct TransferScheduler : ::testing::Test {
    void SetUp() override {
        launcher.Attach(log);
        scheduler.Attach(log);
        scheduler.StartTimer(host);
    }
    // Run once at `time` (kOnce) or repeating from it.
    void AddQueue(int row, int32_t unit, int32_t count, Time32 time,
                  std::optional<Time32> end = kNoEnd, Spoil spoil = Spoil::None) {
        CSchedule schedule(clock);
        schedule.onceFlag = unit == kOnce;
        schedule.unit = unit;
        schedule.count = count;
        schedule.startTime = schedule.anchorTime = time;
        schedule.endDateFlag = end.has_value();
        schedule.endTime = end.value_or(0);
        schedule.disabledFlag = spoil == Spoil::Disabled;
        store.WriteRow(row, schedule.ToRecord(), QueuePath(row));
        files.files.insert(QueuePath(row));
        if (spoil == Spoil::DataSize) {
            settings.WriteInt("CurrentVersion\\Scheduler\\Queue\\" + std::to_string(row),
                              "DataSize", 31);
        }
    }

    MemorySettingsStore settings;
    FakeFileSystem files;
    CQueueScheduleStore store{settings, files};
    FakeCompanions platform;
    FakeTicks ticks;
    ClientLauncher launcher{platform, ticks};
    FakeClock clock{LocalTime(2001, 5, 7, 10, 30, 5)};
    RecordingLog log;
    FakeTimerHost host;
    CTransferScheduler scheduler{settings, files, launcher, clock};
    const Time32 ten = LocalTime(2001, 5, 7, 10);
};

}  // namespace

TEST_F(TransferScheduler, DueQueueStartsAndGoesWhenItHasNoFurtherRun) {
    const std::vector<LoggedLine> started{{"Transfert Scheduler - Transferring Queue:", kGreen},
                                          {QueuePath(1), kBlack}};
    std::vector<LoggedLine> ended = started, next = started;
    ended.push_back({"No more scheduled transfert for this queue.", kMaroon});
    next.push_back({"Next scheduled transfert for this queue: 05/07/01 11:00:00", kGreen});
    using Case = std::tuple<const char*, int32_t, int32_t, Time32, std::optional<Time32>, Spoil,
                            std::vector<LoggedLine>>;
    const Case cases[] = {
        {"once", kOnce, 1, ten, kNoEnd, Spoil::None, ended},
        {"30 minutes", kMinutes, 30, ten, kNoEnd, Spoil::None, next},
        {"monthly without end", kMonths, 1, LocalTime(2001, 4, 7, 10), kNoEnd, Spoil::None,
         started},
        {"next after the end", kDays, 1, ten - 86400, ten + 3600, Spoil::None, ended},
        {"disabled", kOnce, 1, ten, kNoEnd, Spoil::Disabled, {}},
        {"DataSize 31", kOnce, 1, ten, kNoEnd, Spoil::DataSize, {}},
    };
    for (const auto& [what, unit, count, time, end, spoil, lines] : cases) {
        platform.launches.clear();
        platform.alive.clear();
        log.lines.clear();
        AddQueue(1, unit, count, time, end, spoil);
        const std::string before = settings.Dump(MemorySettingsStore::Hive::User);
        scheduler.OnTimerTick();
        EXPECT_EQ(log.lines, lines) << what;
        EXPECT_EQ(platform.launches.size(), lines.empty() ? 0u : 1u) << what;
        // The client moves a repeating schedule on; this program never writes a row back.
        EXPECT_EQ(settings.Dump(MemorySettingsStore::Hive::User) == before, lines != ended) << what;
    }
}

// Mended: the client announces itself only some time after its start, so the next due row of the
// same pass was launched into it, and a run-once row deleted even when the client had just
// rewritten it; a start that failed was logged as a run and its run-once row deleted; a row that
// stayed due, its client gone before moving it on, kept the rows behind it waiting for ever; a
// row whose queue file was out of reach was purged, then held back without a word; a resumed
// downloader's process was held until a menu opened.
TEST_F(TransferScheduler, EachPassStartsOneDueQueueInTurnAndOnlyAStartTheShellMadeIsARun) {
    AddQueue(1, kOnce, 1, ten);
    AddQueue(2, kMinutes, 30, ten);  // nobody moves it on: due at every pass
    AddQueue(3, kOnce, 1, ten);
    files.files.erase(QueuePath(3));
    files.outOfReach[QueuePath(3)] = "The device is not ready.";
    launcher.ResumeEntry(4);
    enum Pass { kFails, kStarts, kClientRuns, kClientRewrites };
    for (const Pass pass :
         {kFails, kFails, kFails, kStarts, kClientRuns, kClientRewrites, kStarts}) {
        platform.failure = pass == kFails ? "File not found." : "";
        platform.presentEvents = {pass == kClientRuns ? companions::kClientEvent : ""};
        platform.onLaunch = [&, pass] {
            if (pass == kClientRewrites) {
                AddQueue(1, kMinutes, 30, ten);
            }
        };
        platform.alive.clear();
        scheduler.OnTimerTick();
        if (pass == kClientRewrites) {
            files.outOfReach[QueuePath(3)] = "Access is denied.";
        }
    }
    const auto start = [](int row) { return Launch{"Vantrel.exe", QueueArgument(QueuePath(row))}; };
    EXPECT_EQ(platform.launches, (std::vector<Launch>{{"Rushload.exe", "fdb://4"},
                                                      start(2),
                                                      start(2),
                                                      start(2),
                                                      start(2),
                                                      start(1),
                                                      start(2)}));
    EXPECT_EQ(store.Enumerate(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(platform.released, (std::set<uintptr_t>{1, 2, 3}));
    const auto heldBack = [](const char* reason) {
        return LoggedLine{"Queue not started, could not reach \"" + QueuePath(3) + "\": " + reason,
                          kRed};
    };
    ASSERT_EQ(log.lines.size(), 12u);
    EXPECT_EQ(log.lines[0], heldBack("The device is not ready."));
    EXPECT_EQ(log.lines[1], (LoggedLine{"Could not start \"Vantrel.exe\": File not found.", kRed}));
    EXPECT_EQ(log.lines[5].text, "Transfert Scheduler - Transferring Queue:");
    EXPECT_EQ(log.lines[6].text, QueuePath(1));
    EXPECT_EQ(log.lines[8], heldBack("Access is denied."));
}

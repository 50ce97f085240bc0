#include "e2e/E2eTest.h"

using SchedulerTest = E2eTest;

// Mended: a row whose queue file was on a drive not there yet was purged, then held back
// without a word.
TEST_F(SchedulerTest, DueRowsStartTheClientOnceRowsGoPeriodicRowsStayAsStored) {
    const std::string onceFile = standIns.CreateQueueFile("Nightly backup.ftq");
    const std::string periodicFile = standIns.CreateQueueFile("Half hourly.ftq");
    const std::string missingFile = standIns.Folder() + "Deleted queue.ftq";
    SeedQueueRow("1", onceFile, dueOnce);
    SeedQueueRow("2", periodicFile, neverDue);
    SeedQueueRow("3", missingFile, neverDue);
    SeedQueueRow("5", "Q:\\Queues\\Drive not there yet.ftq", dueOnce);
    ASSERT_TRUE(monitor.Start());
    monitor.Send(WM_TIMER, kSchedulerTimer);
    std::vector<std::string> log = Lines({onceFile});
    const std::string heldBack =
        "Queue not started, could not reach \"Q:\\Queues\\Drive not there yet.ftq\": ";
    log.insert(log.begin() + 2, heldBack);
    const std::vector<std::string> seen = monitor.WaitForLogMessages(log.size());
    ASSERT_EQ(seen.size(), log.size());
    EXPECT_EQ(seen[2].rfind(heldBack, 0), 0u) << seen[2];  // then the system's reason
    log[2] = seen[2];
    EXPECT_EQ(seen, log);
    EXPECT_EQ(standIns.ClientStarts(1, 5000), std::vector<std::string>{QueueArgument(onceFile)});
    EXPECT_EQ(QueueRowNames(), (std::vector<std::string>{"2", "5"}));
    ASSERT_TRUE(standIns.WaitUntilClientEnds());

    // Three quarters of an hour into a half-hour period: the next run is a quarter of an hour
    // from now, whatever second the tick lands on.
    const ScheduleRecord due = RecordOf({{RecordField::StartTime, now - 3 * kHour},
                                         {RecordField::AnchorTime, now - 45 * 60},
                                         {RecordField::Count, 30}});
    SeedQueueRow("2", periodicFile, due);
    monitor.Send(WM_TIMER, kSchedulerTimer);
    log.insert(log.end(), {"Transfert Scheduler - Transferring Queue:", periodicFile,
                           "Next scheduled transfert for this queue: " + FormatTime(now + 900)});
    EXPECT_EQ(monitor.WaitForLogMessages(log.size()), log);
    EXPECT_EQ(standIns.ClientStarts(2, 5000).back(), QueueArgument(periodicFile));
    EXPECT_EQ(StoredQueueData("2"), Bytes(due));

    PresenceEvent client("VANTRELInstance");
    SeedQueueRow("4", missingFile, dueOnce);
    monitor.Send(WM_TIMER, kSchedulerTimer);
    EXPECT_EQ(monitor.LogMessages(), log);
    EXPECT_EQ(QueueRowNames(), (std::vector<std::string>{"2", "4", "5"}));
    EXPECT_EQ(standIns.ClientStarts(3, 1000).size(), 2u);
}

// Mended: the client announces itself some time after its start, so the second due row of a pass
// was launched into it and, running once, deleted.
TEST_F(SchedulerTest, EachPassStartsOneQueueAndTheNextWaitsUntilTheClientHasGone) {
    const std::string first = standIns.CreateQueueFile("First.ftq");
    const std::string second = standIns.CreateQueueFile("Second.ftq");
    SeedQueueRow("1", second, dueOnce);
    SeedQueueRow("2", first, dueOnce);
    standIns.AnnounceAfter("Vantrel", 500);
    ASSERT_TRUE(monitor.Start());
    const std::vector<std::string> queues = {first, second};
    for (size_t starts = 1; starts <= queues.size(); ++starts) {
        monitor.Send(WM_TIMER, kSchedulerTimer);
        ASSERT_EQ(standIns.ClientStarts(starts, 5000).size(), starts);
        ASSERT_TRUE(standIns.WaitUntilClientEnds());
        EXPECT_EQ(standIns.ClientStarts().back(), QueueArgument(queues[starts - 1]));
        EXPECT_EQ(QueueRowNames().size(), queues.size() - starts);
    }
    EXPECT_EQ(monitor.LogMessages(), Lines({first, second}));
}

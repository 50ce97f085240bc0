#include <gtest/gtest.h>

#include "e2e/MonitorHarness.h"

namespace {

constexpr UINT_PTR kSchedulerTimer = 2;
constexpr int32_t kMinutes = 0;
constexpr int32_t kHours = 1;
constexpr Time32 kHour = 3600;

const std::string kStartedLine = "Vantrel Monitor started.";
const std::string kTransferringLine = "Transfert Scheduler - Transferring Queue:";
const std::string kNoMoreRunsLine = "No more scheduled transfert for this queue.";
const std::string kNextRunPrefix = "Next scheduled transfert for this queue: ";

std::string QueueArgument(const std::string& queueFile) {
    return "\"ftq://" + queueFile + "\"";
}

class SchedulerTest : public ::testing::Test {
protected:
    void SetUp() override {
        standIns.Reset();
        ResetRegistry(standIns.Folder());
    }

    StandIns standIns;
    MonitorProcess monitor;
    const Time32 now = Now();
};

}  // namespace

TEST_F(SchedulerTest, ADueOnceRowStartsTheClientWithItsQuotedPathAndIsRemoved) {
    const std::string onceFile = standIns.CreateQueueFile("Nightly backup.ftq");
    const ScheduleRecord laterRun = RecordOf({{RecordField::StartTime, now - kHour},
                                              {RecordField::AnchorTime, now - 60},
                                              {RecordField::Count, 1},
                                              {RecordField::Unit, kHours}});
    SeedQueueRow(1, onceFile,
                 RecordOf({{RecordField::StartTime, now - kHour},
                           {RecordField::AnchorTime, now - kHour},
                           {RecordField::OnceFlag, 1}}));
    SeedQueueRow(2, standIns.CreateQueueFile("Hourly mirror.ftq"), laterRun);
    SeedQueueRow(3, standIns.MissingQueueFile("Deleted queue.ftq"), laterRun);
    ASSERT_TRUE(monitor.Start());

    monitor.SendTimer(kSchedulerTimer);

    EXPECT_EQ(
        monitor.WaitForLogMessages(5),
        (std::vector<std::string>{kStartedLine, "", kTransferringLine, onceFile, kNoMoreRunsLine}));
    EXPECT_EQ(standIns.ClientStarts(1, 5000), std::vector<std::string>{QueueArgument(onceFile)});
    EXPECT_EQ(QueueRowNames(), std::vector<std::string>{"2"});
    EXPECT_EQ(StoredQueueData(2), Bytes(laterRun));
}

TEST_F(SchedulerTest, ADuePeriodicRowKeepsItsStoredRecordSoEveryTickStartsItAgain) {
    const std::string queueFile = standIns.CreateQueueFile("Half hourly sync.ftq");
    // Three quarters of an hour into a half-hour period: the next run is a quarter of an hour
    // from now, whatever second the tick lands on.
    const ScheduleRecord record = RecordOf({{RecordField::StartTime, now - 3 * kHour},
                                            {RecordField::AnchorTime, now - 45 * 60},
                                            {RecordField::Count, 30},
                                            {RecordField::Unit, kMinutes}});
    SeedQueueRow(1, queueFile, record);
    const std::vector<std::string> passLines = {kTransferringLine, queueFile,
                                                kNextRunPrefix + FormatTime(now + 15 * 60)};
    ASSERT_TRUE(monitor.Start());

    monitor.SendTimer(kSchedulerTimer);
    std::vector<std::string> expected = {kStartedLine, ""};
    expected.insert(expected.end(), passLines.begin(), passLines.end());
    EXPECT_EQ(monitor.WaitForLogMessages(expected.size()), expected);
    EXPECT_EQ(standIns.ClientStarts(1, 5000), std::vector<std::string>{QueueArgument(queueFile)});
    ASSERT_TRUE(standIns.WaitUntilClientEnds());
    EXPECT_EQ(StoredQueueData(1), Bytes(record));

    monitor.SendTimer(kSchedulerTimer);
    expected.insert(expected.end(), passLines.begin(), passLines.end());
    EXPECT_EQ(monitor.WaitForLogMessages(expected.size()), expected);
    EXPECT_EQ(standIns.ClientStarts(2, 5000),
              std::vector<std::string>(2, QueueArgument(queueFile)));
    EXPECT_EQ(StoredQueueData(1), Bytes(record));
}

TEST_F(SchedulerTest, WhileTheClientRunsATickLogsNothingAndPurgesNothing) {
    SeedQueueRow(1, standIns.CreateQueueFile("Nightly backup.ftq"),
                 RecordOf({{RecordField::StartTime, now - kHour}, {RecordField::OnceFlag, 1}}));
    SeedQueueRow(2, standIns.MissingQueueFile("Deleted queue.ftq"),
                 RecordOf({{RecordField::StartTime, now - kHour}, {RecordField::OnceFlag, 1}}));
    PresenceEvent client("VANTRELInstance");
    ASSERT_TRUE(monitor.Start());

    monitor.SendTimer(kSchedulerTimer);

    EXPECT_EQ(monitor.LogMessages(), (std::vector<std::string>{kStartedLine, ""}));
    EXPECT_EQ(QueueRowNames(), (std::vector<std::string>{"1", "2"}));
    EXPECT_TRUE(standIns.ClientStarts(1, 1000).empty());
}

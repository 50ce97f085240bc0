#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/MonitorHarness.h"
#include "e2e/ProcessFootprint.h"
#include "e2e/Soak.h"

namespace {

// A tenth of the full soak that scripts/bench drives: enough for a leak of one handle, window or
// allocation per tick or pass to show.
constexpr SoakPlan kReducedSoak{10000, 500};

class SoakTest : public ::testing::Test {
protected:
    void SetUp() override {
        standIns.Reset();
        ResetRegistry(standIns.Folder());
        SetUrlMonitorPreference(1);
        SeedNeverDueRows(kSoakRows, standIns.CreateQueueFile("Soak.ftq"));
        ASSERT_TRUE(CopyToClipboard("text already there at start-up"));
        ASSERT_TRUE(monitor.Start());
        ASSERT_TRUE(WaitUntil(
            [this] { return !IsWindowVisible(monitor.Frame()) && monitor.IsTrayIconShown(); }));
        GetWindowThreadProcessId(monitor.Frame(), &processId);
    }

    StandIns standIns;
    MonitorProcess monitor;
    DWORD processId = 0;
};

}  // namespace

TEST_F(SoakTest, TicksAndPassesOverRowsNeverDueLeaveNoTraceAndHoldNothingMore) {
    ASSERT_TRUE(DriveSoak(monitor, kSoakWarmUp));
    const std::string log = monitor.LogText();
    const ProcessFootprint before = MeasureFootprint(processId);

    ASSERT_TRUE(DriveSoak(monitor, kReducedSoak));
    const ProcessFootprint after = MeasureFootprint(processId);

    EXPECT_EQ(monitor.LogText(), log);
    EXPECT_EQ(QueueRowNames().size(), static_cast<size_t>(kSoakRows));
    EXPECT_TRUE(standIns.ClientStarts().empty());
    EXPECT_GT(before.handles, 0u);
    EXPECT_GT(before.privateBytes, 0u);
    EXPECT_EQ(after.handles, before.handles);
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_EQ(after.userObjects, before.userObjects);
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.privateBytes, before.privateBytes);

    // And the monitor still acts on what it is there for.
    const std::string url = "ftp://files.example.com/after-soak";
    ASSERT_TRUE(CopyToClipboard(url));
    monitor.SendTimer(kSoakUrlTimer);
    const std::vector<std::string> lines = monitor.LogMessages();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()),
              (std::vector<std::string>{"URL Monitor: Starting Vantrel.", "URL: " + url}));
    EXPECT_EQ(standIns.ClientStarts(1, 5000), std::vector<std::string>{""});
}

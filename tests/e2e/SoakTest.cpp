#include "e2e/E2eTest.h"
#include "e2e/ProcessFootprint.h"
#include "e2e/Soak.h"

using SoakTest = E2eTest;

TEST_F(SoakTest, TicksAndPassesOverRowsNeverDueLeaveNoTraceAndHoldNothingMore) {
    SeedNeverDueRows(kSoakRows, standIns.CreateQueueFile("Soak.ftq"));
    ASSERT_TRUE(monitor.Start());
    ASSERT_TRUE(DriveSoak(monitor, kSoakWarmUp));
    const std::string log = monitor.LogText();
    const ProcessFootprint before = MeasureFootprint(monitor.ProcessId());
    // Two equal stretches, a fraction of the soak that scripts/bench drives: enough for a leak of
    // one handle, window or allocation per tick or pass to show in both.
    const SoakPlan stretch{2000, 100};
    ASSERT_TRUE(DriveSoak(monitor, stretch));
    const ProcessFootprint middle = MeasureFootprint(monitor.ProcessId());
    ASSERT_TRUE(DriveSoak(monitor, stretch));
    const ProcessFootprint after = MeasureFootprint(monitor.ProcessId());
    EXPECT_EQ(monitor.LogText(), log);
    EXPECT_EQ(QueueRowNames().size(), static_cast<size_t>(kSoakRows));
    EXPECT_GT(before.handles, 0u);
    EXPECT_GT(before.privateBytes, 0u);
    EXPECT_GT(before.committedBytes, 0u);
    EXPECT_EQ(after.handles, before.handles);
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_EQ(after.userObjects, before.userObjects);
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(RepeatedGrowth(before.privateBytes, middle.privateBytes, after.privateBytes), 0u);
    EXPECT_EQ(RepeatedGrowth(before.committedBytes, middle.committedBytes, after.committedBytes),
              0u);
}

#include "recovery/Countdown.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kTickPeriodMs = 100;

struct CountdownRun {
    std::vector<uint32_t> secondsShownAfterLineChanges;
    uint32_t elapsedWhenTimeIsUp = 0;
};

// Ticks every 100 ms, as the dialog's timer does, until time is up or a minute has passed.
CountdownRun RunToTheEnd(uint32_t timeoutMs, uint32_t startTick) {
    Countdown countdown(timeoutMs, startTick);
    CountdownRun run{{countdown.SecondsShown()}};
    for (uint32_t elapsed = kTickPeriodMs; elapsed <= 60000; elapsed += kTickPeriodMs) {
        const CountdownStep step = countdown.OnTick(startTick + elapsed);
        if (step.lineChanged) {
            run.secondsShownAfterLineChanges.push_back(countdown.SecondsShown());
        }
        if (step.timeUp) {
            run.elapsedWhenTimeIsUp = elapsed;
            break;
        }
    }
    return run;
}

}  // namespace

TEST(Countdown, TenSecondsShowNineFromTheFirstTickAndEndJustAfterNine) {
    const CountdownRun run = RunToTheEnd(10000, 50000);
    EXPECT_EQ(run.secondsShownAfterLineChanges,
              (std::vector<uint32_t>{10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(run.elapsedWhenTimeIsUp, 9100u);
}

// The tick count wraps every 49.7 days: a question shown just before the wrap must count down
// exactly like any other.
TEST(Countdown, SameCountdownWhereverTheTickCountStands) {
    const CountdownRun reference = RunToTheEnd(10000, 0);
    for (const uint32_t start :
         {0xFFFFFFFFu - 3000, 0xFFFFFFFFu - 9050, 0xFFFFFFFFu, 0xFFFFF000u}) {
        const CountdownRun run = RunToTheEnd(10000, start);
        EXPECT_EQ(run.secondsShownAfterLineChanges, reference.secondsShownAfterLineChanges)
            << start;
        EXPECT_EQ(run.elapsedWhenTimeIsUp, reference.elapsedWhenTimeIsUp) << start;
    }
}

TEST(Countdown, UnderOneSecondShowsZeroAndEndsAtTheFirstTick) {
    for (const uint32_t timeoutMs : {0u, 1u, 999u}) {
        const CountdownRun run = RunToTheEnd(timeoutMs, 0xFFFFFFF0u);
        EXPECT_EQ(run.secondsShownAfterLineChanges, (std::vector<uint32_t>{0})) << timeoutMs;
        EXPECT_EQ(run.elapsedWhenTimeIsUp, kTickPeriodMs) << timeoutMs;
    }
    EXPECT_EQ(RunToTheEnd(1000, 0).elapsedWhenTimeIsUp, kTickPeriodMs);
}

TEST(Countdown, TickDelayedPastTheEndEndsAtOnceShowingZero) {
    for (const uint32_t lateBy : {1u, 500u, 60000u, 0x7FFFFFFFu}) {
        Countdown countdown(10000, 4000);
        ASSERT_FALSE(countdown.OnTick(4100).timeUp);
        const CountdownStep step = countdown.OnTick(4000 + 10000 + lateBy);
        EXPECT_TRUE(step.lineChanged) << lateBy;
        EXPECT_TRUE(step.timeUp) << lateBy;
        EXPECT_EQ(countdown.SecondsShown(), 0u) << lateBy;
    }
}

TEST(CountdownLine, NamesTheDefaultButtonsCaption) {
    const std::string yes = "Yes";
    const std::string no = "No";
    EXPECT_EQ(CountdownLine(DefaultCaption(1, yes, no), 10),
              "Auto-selecting \"Yes\" in 10 second(s) ...");
    for (const int otherDefault : {2, 0, -1}) {
        EXPECT_EQ(CountdownLine(DefaultCaption(otherDefault, yes, no), 0),
                  "Auto-selecting \"No\" in 0 second(s) ...")
            << otherDefault;
    }
}

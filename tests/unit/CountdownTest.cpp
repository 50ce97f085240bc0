#include "recovery/Countdown.h"

#include <gtest/gtest.h>

// Mended: a deadline computed before the tick count wrapped answered the question at once.
TEST(Countdown, ShowsNineFromTheFirstTickAndEndsJustAfterNineWhereverTheTickCountStands) {
    for (const uint32_t start : {50000u, 0xFFFFFFFFu - 3000, 0xFFFFF000u}) {
        Countdown countdown(10000, start);
        EXPECT_EQ(countdown.SecondsShown(), 10u);
        uint32_t elapsed = 0;
        for (CountdownStep step{false, false}; !step.timeUp && elapsed < 60000;) {
            elapsed += 100;  // the dialog's timer period
            step = countdown.OnTick(start + elapsed);
            EXPECT_EQ(step.lineChanged, elapsed % 1000 == 100) << start << " " << elapsed;
            EXPECT_EQ(countdown.SecondsShown(), (10000 - elapsed) / 1000)
                << start << " " << elapsed;
        }
        EXPECT_EQ(elapsed, 9100u) << start;
        Countdown late(10000, start);  // a first tick past the end answers at once, showing 0
        EXPECT_TRUE(late.OnTick(start + 10001).timeUp && late.SecondsShown() == 0) << start;
    }
}

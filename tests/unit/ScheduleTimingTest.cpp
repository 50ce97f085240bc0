#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "scheduler/CSchedule.h"
#include "shared/Fakes.h"

namespace {

constexpr int32_t kMinutes = 0, kHours = 1, kDays = 2, kWeeks = 3, kMonths = 4;
constexpr int32_t kMaxCount = std::numeric_limits<int32_t>::max();

Time32 Utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return FromLocalFields(year, month, day, hour, minute, second).value();
}

CSchedule Periodic(const FakeClock& clock, int32_t unit, int32_t count, Time32 anchor,
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

struct TimingCase {
    const char* what;
    int32_t unit;
    int32_t count;
    Time32 anchor;
    std::optional<Time32> end;
    Time32 now;
    bool due;
    bool hasNext;
    const char* nextText;
    Time32 anchorAfter;
};

}  // namespace

TEST(ScheduleTiming, PeriodSpanMultipliesInSigned32Bits) {
    const struct {
        int32_t unit, count, span;
    } cases[] = {{kMinutes, 30, 1800},
                 {kHours, 2, 7200},
                 {kDays, 7, 604800},
                 {kWeeks, 3550, 2147040000},
                 {kWeeks, 3551, -2147322496},
                 {kMinutes, kMaxCount, -60},
                 {kMinutes, -3, -180},
                 {kMonths, 5, 0},
                 {5, 1, 0},
                 {-1, 1, 0}};
    FakeClock clock;
    for (const auto& c : cases) {
        EXPECT_EQ(Periodic(clock, c.unit, c.count, 0).GetPeriodSpan(), c.span)
            << c.unit << " x " << c.count;
    }
}

TEST(ScheduleTiming, MonthStepLandsOnTheSameDayOfTheFirstMonthThatHasIt) {
    const struct {
        Time32 from;
        std::optional<Time32> to;
    } cases[] = {
        {Utc(2001, 1, 15, 9), Utc(2001, 2, 15, 9)},
        {Utc(2001, 2, 28, 9), Utc(2001, 3, 28, 9)},
        {Utc(2000, 1, 29, 9), Utc(2000, 2, 29, 9)},
        {Utc(2001, 7, 31, 9), Utc(2001, 8, 31, 9)},
        {Utc(2001, 12, 31, 9), Utc(2002, 1, 31, 9)},
        // Mended: a following month without the day is skipped instead of stepping nowhere.
        {Utc(2001, 1, 31, 9), Utc(2001, 3, 31, 9)},
        {Utc(2001, 8, 31, 9), Utc(2001, 10, 31, 9)},
        {Utc(2001, 1, 30, 9), Utc(2001, 3, 30, 9)},
        {Utc(2000, 1, 30, 9), Utc(2000, 3, 30, 9)},
        {Utc(2001, 1, 29, 9), Utc(2001, 3, 29, 9)},
        {Utc(2001, 5, 31, 9), Utc(2001, 7, 31, 9)},
        // A next month beyond January 2038 cannot be computed.
        {Utc(2037, 12, 18, 9), Utc(2038, 1, 18, 9)},
        {Utc(2037, 12, 20, 9), std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MonthStep(c.from, ToLocalFields(c.from)->tm_mday), c.to) << FormatTime(c.from);
    }
}

TEST(ScheduleTiming, PeriodicSchedulesAreDueAndMoveOnByTheirRules) {
    const Time32 ten = Utc(2001, 5, 7, 10);
    const Time32 jan15 = Utc(2001, 1, 15, 9), may15 = Utc(2001, 5, 15, 9);
    const Time32 may20 = Utc(2001, 5, 20, 12);
    const TimingCase cases[] = {
        {"30 min, 1 s short",
         kMinutes,
         30,
         ten,
         {},
         ten + 1799,
         false,
         true,
         "05/07/01 10:30:00",
         ten},
        {"30 min, exactly one period",
         kMinutes,
         30,
         ten,
         {},
         ten + 1800,
         true,
         true,
         "05/07/01 10:30:00",
         ten},
        {"30 min, 5 s over",
         kMinutes,
         30,
         ten,
         {},
         ten + 1805,
         true,
         true,
         "05/07/01 11:00:00",
         ten + 1800},
        {"30 min, exactly two periods",
         kMinutes,
         30,
         ten,
         {},
         ten + 3600,
         true,
         true,
         "05/07/01 11:00:00",
         ten + 1800},
        {"30 min, hours behind",
         kMinutes,
         30,
         ten,
         {},
         Utc(2001, 5, 7, 12, 45, 20),
         true,
         true,
         "05/07/01 13:00:00",
         Utc(2001, 5, 7, 12, 30)},
        {"7 days, next after the end", kDays, 7, Utc(2001, 5, 20, 8), Utc(2001, 6, 1),
         Utc(2001, 5, 27, 8, 0, 30), true, false, "06/03/01 08:00:00", Utc(2001, 5, 27, 8)},
        {"2 weeks, next on the end", kWeeks, 2, Utc(2001, 5, 1, 8), Utc(2001, 5, 29, 8),
         Utc(2001, 5, 15, 9), true, true, "05/29/01 08:00:00", Utc(2001, 5, 15, 8)},
        {"end passed", kHours, 1, ten, Utc(2001, 5, 7, 12), Utc(2001, 5, 7, 13), false, false, "",
         ten},
        {"3 months, end set", kMonths, 3, jan15, Utc(2001, 12, 31), may20, true, true,
         "08/15/01 09:00:00", may15},
        {"3 months, one month in",
         kMonths,
         3,
         jan15,
         {},
         Utc(2001, 2, 15, 9),
         false,
         true,
         "",
         Utc(2001, 2, 15, 9)},
        {"3 months, no end", kMonths, 3, jan15, {}, may20, true, true, "", may15},
        {"3 months, next after the end", kMonths, 3, jan15, Utc(2001, 7, 1), may20, true, false,
         "08/15/01 09:00:00", may15},
        {"on the 31st, February",
         kMonths,
         1,
         Utc(2001, 1, 31, 9),
         {},
         Utc(2001, 3, 1),
         false,
         true,
         "",
         Utc(2001, 1, 31, 9)},
        {"on the 31st, April", kMonths, 1, Utc(2001, 1, 31, 9), Utc(2002, 1, 1), Utc(2001, 4, 2),
         true, true, "05/31/01 09:00:00", Utc(2001, 3, 31, 9)},
        {"0 months", kMonths, 0, jan15, Utc(2001, 12, 31), jan15, true, true, "01/15/01 09:00:00",
         jan15},
    };
    for (const TimingCase& c : cases) {
        FakeClock clock(c.now);
        CSchedule schedule = Periodic(clock, c.unit, c.count, c.anchor, c.end);
        EXPECT_EQ(schedule.IsDue(), c.due) << c.what;
        std::string text = "stale";
        EXPECT_EQ(schedule.GetNextTime(text), c.hasNext) << c.what;
        EXPECT_EQ(text, c.nextText) << c.what;
        EXPECT_EQ(schedule.anchorTime, c.anchorAfter) << c.what;
    }
}

TEST(ScheduleTiming, RunOnceIsDueFromItsStartWhateverTheEndAndHasNoNextRun) {
    FakeClock clock;
    CSchedule schedule(clock);
    schedule.startTime = Utc(2001, 5, 7, 22);
    schedule.endDateFlag = true;
    schedule.endTime = Utc(2001, 5, 1);
    clock.now = Utc(2001, 5, 7, 21, 59, 30);
    EXPECT_FALSE(schedule.IsDue());
    clock.now = Utc(2001, 5, 7, 22, 0, 10);
    EXPECT_TRUE(schedule.IsDue());
    schedule.endDateFlag = false;
    std::string text;
    EXPECT_FALSE(schedule.GetNextTime(text));
    EXPECT_EQ(text, "");
    EXPECT_EQ(schedule.anchorTime, clock.now);
}

TEST(ScheduleTiming, DisabledIsNeverDueButStillHasItsNextRun) {
    FakeClock clock(Utc(2001, 5, 7, 12, 0, 30));
    CSchedule schedule = Periodic(clock, kHours, 1, Utc(2001, 5, 7, 10));
    schedule.disabledFlag = true;
    EXPECT_FALSE(schedule.IsDue());
    schedule.onceFlag = true;
    EXPECT_FALSE(schedule.IsDue());
    schedule.onceFlag = false;
    std::string text;
    EXPECT_TRUE(schedule.GetNextTime(text));
    EXPECT_EQ(text, "05/07/01 13:00:00");
}

TEST(ScheduleTiming, NewAndZeroFilledSchedulesAreDueAtOnce) {
    FakeClock clock(Utc(2001, 5, 7));
    EXPECT_TRUE(CSchedule(clock).IsDue());
    CSchedule zero(clock);
    zero.FromRecord(ScheduleRecord{});
    EXPECT_TRUE(zero.IsDue());
    clock.now = 0;
    EXPECT_TRUE(zero.IsDue());
    std::string text;
    EXPECT_FALSE(zero.GetNextTime(text));  // mended: span 0 would never catch up
}

TEST(ScheduleTiming, WithoutAPositiveSpanThereIsNoNextRun) {
    const struct {
        int32_t unit, count;
    } cases[] = {{kMinutes, 0}, {kHours, -2},   {9, 5},
                 {-1, 5},       {kWeeks, 3551}, {kMinutes, kMaxCount}};
    const Time32 anchor = Utc(2001, 5, 7);
    FakeClock clock(anchor + 86400);
    for (const auto& c : cases) {
        CSchedule schedule = Periodic(clock, c.unit, c.count, anchor);
        std::string text;
        EXPECT_FALSE(schedule.GetNextTime(text)) << c.unit << " x " << c.count;
        EXPECT_EQ(text, "");
    }
}

TEST(ScheduleTiming, MonthsBeyond2038EndTheWalk) {
    FakeClock clock(Utc(2038, 1, 19, 3));
    CSchedule schedule = Periodic(clock, kMonths, 1, Utc(2037, 12, 25, 9));
    EXPECT_FALSE(schedule.IsDue());
    std::string text;
    EXPECT_FALSE(schedule.GetNextTime(text));
    CSchedule beforeEpoch = Periodic(clock, kMonths, 1, -86400);
    EXPECT_FALSE(beforeEpoch.IsDue());
    EXPECT_FALSE(beforeEpoch.GetNextTime(text));
}

TEST(ScheduleTiming, HugeCountsAndDistancesAreAnsweredWithoutWalkingEachPeriod) {
    FakeClock clock(std::numeric_limits<Time32>::max() - 100);
    CSchedule monthly = Periodic(clock, kMonths, kMaxCount, 0, Utc(2038, 1, 1));
    EXPECT_FALSE(monthly.IsDue());
    std::string text;
    EXPECT_FALSE(monthly.GetNextTime(text));
    CSchedule everyMinute = Periodic(clock, kMinutes, 1, 0);
    EXPECT_TRUE(everyMinute.GetNextTime(text));
    EXPECT_EQ(text, "01/19/38 03:13:00");
}

TEST(ScheduleTiming, ElapsedTimeWrapsLikeTheStoredFormat) {
    FakeClock clock(100);
    CSchedule schedule = Periodic(clock, kMinutes, 1, std::numeric_limits<Time32>::min() + 10);
    EXPECT_FALSE(schedule.IsDue());  // 100 - (INT32_MIN + 10) wraps below zero
}

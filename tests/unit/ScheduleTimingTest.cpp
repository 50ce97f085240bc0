#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <random>
#include <tuple>
#include <vector>

#include "scheduler/CSchedule.h"
#include "scheduler/ScheduleEditRules.h"
#include "shared/Fakes.h"

namespace {

constexpr int32_t kMinutes = 0, kWeeks = 3, kMonths = 4;
constexpr int32_t kMaxCount = std::numeric_limits<int32_t>::max();
constexpr Time32 kMinTime = std::numeric_limits<Time32>::min();
constexpr Time32 kMaxTime = std::numeric_limits<Time32>::max();
constexpr std::optional<Time32> kNoEnd;

}  // namespace

TEST(ScheduleRecord, FieldsAreLittleEndianAtTheirSharedOffsetsAndFlagsAreWrittenAsOne) {
    const ScheduleRecord stored{1,    2,    3,  4, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                0x7F, 0,    1,  0, 0,    0,    0,    0,    0,    0xFF, 0xFF,
                                0xFF, 0xFF, 30, 0, 0,    0,    4,    0,    0,    0};
    FakeClock clock;
    CSchedule schedule(clock);
    schedule.FromRecord(stored);
    EXPECT_EQ(std::tie(schedule.startTime, schedule.endTime, schedule.anchorTime, schedule.count,
                       schedule.unit),
              std::make_tuple(0x04030201, -2, 0x7FFFFFFF, 30, kMonths));
    EXPECT_TRUE(schedule.onceFlag && schedule.disabledFlag && !schedule.endDateFlag);
    ScheduleRecord written = stored;
    written[12] = written[20] = 1;
    written[13] = written[21] = written[22] = written[23] = 0;
    EXPECT_EQ(schedule.ToRecord(), written);
}

// Mended: a following month without the day used to step nowhere.
TEST(ScheduleTiming, MonthStepLandsOnTheSameDayOfTheFirstMonthThatHasIt) {
    const std::pair<Time32, std::optional<Time32>> cases[] = {
        {LocalTime(2001, 1, 15, 9), LocalTime(2001, 2, 15, 9)},
        {LocalTime(2000, 1, 29, 9), LocalTime(2000, 2, 29, 9)},
        {LocalTime(2001, 12, 31, 9), LocalTime(2002, 1, 31, 9)},
        {LocalTime(2001, 1, 31, 9), LocalTime(2001, 3, 31, 9)},
        {LocalTime(2037, 12, 18, 9), LocalTime(2038, 1, 18, 9)},
        {LocalTime(2037, 12, 20, 9), std::nullopt},
    };
    for (const auto& [from, to] : cases) {
        EXPECT_EQ(MonthStep(from, ToLocalFields(from)->tm_mday), to) << FormatTime(from);
    }
}

// Mended: walks without a positive period, past 2038 or over huge counts never ended.
TEST(ScheduleTiming, RepeatingSchedulesAreDueAndMoveOnByTheirRules) {
    const Time32 ten = LocalTime(2001, 5, 7, 10), day = 86400, jan15 = LocalTime(2001, 1, 15, 9);
    const Time32 may15 = LocalTime(2001, 5, 15, 9), may20 = LocalTime(2001, 5, 20, 12);
    const Time32 dec31 = LocalTime(2001, 12, 31), jan31 = LocalTime(2001, 1, 31, 9);
    const Time32 dec25 = LocalTime(2037, 12, 25, 9), mar31 = LocalTime(2001, 3, 31, 9);
    using Case = std::tuple<const char*, int32_t, int32_t, Time32, std::optional<Time32>, Time32,
                            bool, bool, std::string, Time32>;
    std::vector<Case> cases = {
        {"elapsed wraps", kMinutes, 1, kMinTime + 10, kNoEnd, 100, false, true, "", kMinTime + 10},
        {"decades behind", kMinutes, 1, 0, kNoEnd, kMaxTime - 100, true, true, "01/19/38 03:13:00",
         kMaxTime - 127},
        {"zero-filled", kMinutes, 0, 0, kNoEnd, ten, true, false, "", 0},
        {"unit 9", 9, 5, ten, kNoEnd, ten + 60, true, false, "", ten},
        {"3551 weeks wrap", kWeeks, 3551, ten, kNoEnd, ten + 60, true, false, "", ten},
        {"3 months", kMonths, 3, jan15, dec31, may20, true, true, "08/15/01 09:00:00", may15},
        {"31st, Apr 2", kMonths, 1, jan31, dec31, LocalTime(2001, 4, 2), true, true,
         "05/31/01 09:00:00", mar31},
        {"past 2038", kMonths, 1, dec25, kNoEnd, LocalTime(2038, 1, 19), false, false, "", dec25},
        {"before 1970", kMonths, 1, -day, kNoEnd, ten, false, false, "", -day},
        {"2^31-1 months", kMonths, kMaxCount, jan15, dec31, may20, false, false, "", may15},
    };
    // Random rows for the other units, from a walk one period at a time as the stored rules go.
    std::mt19937_64 random(20010507);
    const auto below = [&](int64_t bound) { return static_cast<int64_t>(random() % bound); };
    for (int round = 0; round < 3000; ++round) {
        const auto unit = static_cast<int32_t>(below(4));
        const int64_t count = below(30) + 1, span = count * kPeriodUnits[unit].secondsPerUnit;
        const int64_t periods = below(51), anchor = below(kMaxTime - 60 * span);
        const int64_t end = anchor + below(54 * span);
        const int64_t now = anchor + periods * span + below(3) - 1 + below(2) * below(span + 1);
        const bool hasEnd = below(2) != 0, ended = hasEnd && now > end;
        int64_t walked = anchor;
        for (int step = 0; step <= periods && now - walked > span; ++step) {
            walked += span;
        }
        cases.emplace_back(
            "walked", unit, count, anchor, hasEnd ? end : kNoEnd, now,
            !ended && now - anchor >= span, !ended && (!hasEnd || walked + span <= end),
            ended ? "" : FormatTime(static_cast<Time32>(walked + span)), ended ? anchor : walked);
    }
    for (const auto& [what, unit, count, anchor, end, now, due, hasNext, text, moved] : cases) {
        FakeClock clock(now);
        CSchedule schedule(clock);
        std::tie(schedule.onceFlag, schedule.unit, schedule.count, schedule.anchorTime,
                 schedule.endDateFlag, schedule.endTime) =
            std::make_tuple(false, unit, count, anchor, end.has_value(), end.value_or(0));
        EXPECT_EQ(schedule.IsDue(), due) << what << " " << anchor << " " << now;
        std::string nextText = "stale";
        EXPECT_EQ(schedule.GetNextTime(nextText), hasNext) << what;
        EXPECT_EQ(std::tie(nextText, schedule.anchorTime), std::tie(text, moved)) << what;
    }
}

// Mended: a repeating schedule stored with a count of 0 or without a unit never ran again, and
// one whose period overflows 32-bit seconds or whose first run lies past 2038 never ran as asked.
TEST(ScheduleEditRules, RepeatingScheduleNeedsAPositiveCountAUnitAndAFirstRunBefore2038) {
    const Time32 y2030 = LocalTime(2030, 1, 1);  // loaded, so kept ahead of the 1970 start
    using U = UnusableField;
    // count, unit (days 2, weeks 3, months 4), anchor; a one-time schedule uses neither
    const std::tuple<uint32_t, int32_t, Time32, U> cases[] = {
        {3551, 3, 0, U::Count}, {2920, 2, y2030, U::None},     {2941, 2, y2030, U::Count},
        {816, 4, 0, U::None},   {817, 4, 0, U::Count},         {97, 4, y2030, U::Count},
        {0, -1, 0, U::Count},   {2147483648u, 4, 0, U::Count}, {5, -1, 0, U::Unit},
    };
    for (const auto& [count, unit, anchor, unusable] : cases) {
        ScheduleEditFields fields;
        std::tie(fields.onceFlag, fields.count, fields.unit, fields.anchorTime, fields.loadedFlag) =
            std::make_tuple(false, count, unit, anchor, true);
        EXPECT_EQ(FindUnusableField(fields), unusable) << count << " " << unit;
        fields.onceFlag = true;
        EXPECT_EQ(FindUnusableField(fields), U::None) << count << " " << unit;
    }
}

#include "scheduler/ScheduleEditRules.h"

#include <gtest/gtest.h>

namespace {

Time32 At(int year, int month, int day, int hour, int minute, int second = 0) {
    return *FromLocalFields(year, month, day, hour, minute, second);
}

ScheduleEditFields Times(Time32 startDate, Time32 startTime, Time32 endDate, Time32 endTime) {
    ScheduleEditFields fields;
    fields.startDate = startDate;
    fields.startTime = startTime;
    fields.endDate = endDate;
    fields.endTime = endTime;
    return fields;
}

}  // namespace

// Each picker contributes only its part: the date pickers their day, the time pickers their hour
// and minute, so other parts of their values must not decide.
TEST(ScheduleEditRules, EndBeforeStartIsPulledToTheStartAndOnlyThen) {
    struct Case {
        const char* name;
        ScheduleEditFields fields;
        bool pulled;
    };
    const Time32 day = At(2024, 5, 10, 0, 0);
    const Time32 nextDay = At(2024, 5, 11, 0, 0);
    const Time32 ten = At(2000, 1, 1, 10, 15, 42);
    const Time32 nine = At(2000, 1, 1, 9, 59);
    const Case cases[] = {
        {"end a day earlier", Times(nextDay, nine, day, ten), true},
        {"end a minute earlier on the day", Times(day, ten, day, At(2001, 2, 2, 10, 14, 59)), true},
        {"equal up to the seconds", Times(day, ten, day, At(2001, 2, 2, 10, 15, 0)), false},
        {"end later", Times(day, ten, nextDay, nine), false},
        {"date pickers' clocks ignored",
         Times(At(2024, 5, 10, 23, 0), nine, At(2024, 5, 10, 1, 0), ten), false},
    };
    for (const Case& c : cases) {
        ScheduleEditFields fields = c.fields;
        EXPECT_EQ(KeepEndAfterStart(fields), c.pulled) << c.name;
        const ScheduleEditFields expected = c.pulled ? Times(c.fields.startDate, c.fields.startTime,
                                                             c.fields.startDate, c.fields.startTime)
                                                     : c.fields;
        EXPECT_EQ(fields.endDate, expected.endDate) << c.name;
        EXPECT_EQ(fields.endTime, expected.endTime) << c.name;
        EXPECT_EQ(fields.startDate, c.fields.startDate) << c.name;
        EXPECT_EQ(fields.startTime, c.fields.startTime) << c.name;
    }
}

TEST(ScheduleEditRules, TimesTheRuntimeCannotConvertAreLeftAlone) {
    ScheduleEditFields fields = Times(At(2024, 5, 10, 8, 0), At(2024, 5, 10, 8, 0), -1, -1);
    EXPECT_FALSE(KeepEndAfterStart(fields));
    EXPECT_EQ(fields.endDate, -1);
    EXPECT_EQ(fields.endTime, -1);
}

TEST(ScheduleEditRules, RepeatingScheduleNeedsAPositiveCountAndAUnit) {
    struct Case {
        bool once;
        uint32_t count;
        int32_t unit;
        UnusableField expected;
    };
    const Case cases[] = {
        {false, 1, 0, UnusableField::None},   {false, 2147483647u, 4, UnusableField::None},
        {false, 0, 2, UnusableField::Count},  {false, 2147483648u, 2, UnusableField::Count},
        {false, 0, -1, UnusableField::Count}, {false, 5, -1, UnusableField::Unit},
        {false, 5, 5, UnusableField::Unit},   {true, 0, -1, UnusableField::None},
    };
    for (const Case& c : cases) {
        ScheduleEditFields fields;
        fields.onceFlag = c.once;
        fields.count = c.count;
        fields.unit = c.unit;
        EXPECT_EQ(FindUnusableField(fields), c.expected)
            << c.once << " " << c.count << " " << c.unit;
    }
}

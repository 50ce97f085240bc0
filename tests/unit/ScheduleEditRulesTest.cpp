#include "scheduler/ScheduleEditRules.h"

#include <gtest/gtest.h>

#include <tuple>

// Mended: a repeating schedule stored with a count of 0 or without a unit never ran again.
TEST(ScheduleEditRules, RepeatingScheduleNeedsAPositiveCountAndAUnit) {
    const std::tuple<bool, uint32_t, int32_t, UnusableField> cases[] = {
        {false, 1, 0, UnusableField::None},   {false, 2147483647u, 4, UnusableField::None},
        {false, 0, 2, UnusableField::Count},  {false, 2147483648u, 2, UnusableField::Count},
        {false, 0, -1, UnusableField::Count}, {false, 5, -1, UnusableField::Unit},
        {false, 5, 5, UnusableField::Unit},   {true, 0, -1, UnusableField::None},
    };
    for (const auto& [once, count, unit, unusable] : cases) {
        ScheduleEditFields fields;
        fields.onceFlag = once;
        fields.count = count;
        fields.unit = unit;
        EXPECT_EQ(FindUnusableField(fields), unusable) << once << " " << count << " " << unit;
    }
}

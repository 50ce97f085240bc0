#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "scheduler/CSchedule.h"
#include "shared/Fakes.h"

namespace {

constexpr int32_t kMonths = static_cast<int32_t>(PeriodUnit::Months);

// One period or calendar month at a time: whether due, whether a next run, its text, the anchor.
std::tuple<bool, bool, std::string, Time32> SlowReference(const CSchedule& s, Time32 now) {
    const bool monthly = s.unit == kMonths;
    const int32_t span = s.GetPeriodSpan();
    const std::optional<std::tm> anchor = ToLocalFields(s.anchorTime);
    const auto step = [&](Time32 t) -> std::optional<Time32> {
        return !monthly ? AddSpan(t, span) : anchor ? MonthStep(t, anchor->tm_mday) : std::nullopt;
    };
    std::optional<Time32> dueAt = s.anchorTime;
    for (int32_t i = 0; monthly && dueAt && i < s.count; ++i) {
        dueAt = step(*dueAt);
    }
    const bool due = monthly ? dueAt && now >= *dueAt : Difference(now, s.anchorTime) >= span;
    Time32 latest = s.anchorTime;
    while (monthly ? now >= latest : span > 0 && Difference(now, latest) > span) {
        const std::optional<Time32> next = step(latest);
        if (!next) {
            return {due, false, "", s.anchorTime};
        }
        if (monthly && *next > now) {
            break;
        }
        latest = *next;
    }
    const bool hasNext = monthly || span > 0;
    return {due, hasNext, monthly || !hasNext ? "" : FormatTime(AddSpan(latest, span)), latest};
}

}  // namespace

TEST(ScheduleProperty, DueAndNextTimeAgreeWithAWalkOfOnePeriodAtATime) {
    std::mt19937 random(20010507);
    const auto between = [&](int64_t low, int64_t high) {
        return static_cast<int32_t>(std::uniform_int_distribution<int64_t>(
            std::max<int64_t>(low, INT32_MIN), std::min<int64_t>(high, INT32_MAX))(random));
    };
    for (int i = 0; i < 400; ++i) {
        FakeClock clock(between(788918400, 2100000000));
        CSchedule s(clock);
        s.onceFlag = false;
        s.unit = between(-1, 5);
        s.count = between(0, 9) ? between(0, 40) : between(INT32_MIN, INT32_MAX);
        const int64_t period = s.unit == kMonths ? 86400 : std::max(s.GetPeriodSpan(), 60);
        s.anchorTime = between(clock.now - 3000 * period, clock.now + 3 * period);
        const auto expected = SlowReference(s, clock.now);
        std::string text;
        const bool due = s.IsDue();
        const bool hasNext = s.GetNextTime(text);
        ASSERT_EQ(std::tie(due, hasNext, text, s.anchorTime), expected) << "case " << i;
    }
}

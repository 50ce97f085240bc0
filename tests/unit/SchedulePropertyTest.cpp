#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <ostream>
#include <random>

#include "scheduler/CSchedule.h"
#include "shared/Fakes.h"

namespace {

constexpr int32_t kMonths = 4;
constexpr int kReferenceStepLimit = 20000;
constexpr int32_t kDay = 86400;
constexpr int64_t kTimeMin = std::numeric_limits<Time32>::min();
constexpr int64_t kTimeMax = std::numeric_limits<Time32>::max();

struct Outcome {
    bool due;
    bool hasNext;
    std::string text;
    Time32 anchor;
    bool operator==(const Outcome& o) const {
        return due == o.due && hasNext == o.hasNext && text == o.text && anchor == o.anchor;
    }
    friend std::ostream& operator<<(std::ostream& out, const Outcome& o) {
        return out << "due " << o.due << ", next " << o.hasNext << " \"" << o.text << "\", anchor "
                   << o.anchor;
    }
};

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

std::optional<int> DayOfMonth(Time32 time) {
    const std::optional<std::tm> fields = ToLocalFields(time);
    return fields ? std::optional<int>(fields->tm_mday) : std::nullopt;
}

// Calendar arithmetic on local fields, independent of the seconds walk under test.
std::optional<Time32> ReferenceMonthStep(Time32 time, std::optional<int> day) {
    const std::optional<std::tm> from = ToLocalFields(time);
    for (int ahead = 1; from && day && ahead <= 12; ++ahead) {
        const int months = from->tm_mon + ahead;
        const int year = from->tm_year + 1900 + months / 12, month = months % 12 + 1;
        if (DaysInMonth(year, month) >= *day) {
            return FromLocalFields(year, month, *day, from->tm_hour, from->tm_min, from->tm_sec);
        }
    }
    return std::nullopt;
}

// Every one of `months` steps, with no stop once past now.
std::optional<Time32> ReferenceMonths(Time32 from, int64_t months, std::optional<int> day) {
    for (int64_t step = 0; step < months; ++step) {
        const std::optional<Time32> next = ReferenceMonthStep(from, day);
        if (!next) {
            return std::nullopt;
        }
        from = *next;
    }
    return from;
}

bool ReferenceIsDue(const CSchedule& s, Time32 now) {
    if (s.disabledFlag) {
        return false;
    }
    if (s.onceFlag) {
        return now >= s.startTime;
    }
    if (s.endDateFlag && now > s.endTime) {
        return false;
    }
    if (s.unit == kMonths) {
        const std::optional<Time32> due =
            ReferenceMonths(s.anchorTime, s.count, DayOfMonth(s.anchorTime));
        return due && now >= *due;
    }
    return Difference(now, s.anchorTime) >= s.GetPeriodSpan();
}

// Nothing when the one-period-at-a-time walk does not end within the step limit.
std::optional<bool> ReferenceNextTime(CSchedule& s, Time32 now, std::string& text) {
    if (s.endDateFlag && now > s.endTime) {
        return false;
    }
    if (s.onceFlag) {
        s.anchorTime = now;
        return false;
    }
    if (s.unit == kMonths) {
        const std::optional<int> day = DayOfMonth(s.anchorTime);
        Time32 latest = s.anchorTime;
        for (Time32 point = s.anchorTime; now >= point;) {
            latest = point;
            const std::optional<Time32> next = ReferenceMonthStep(point, day);
            if (!next) {
                return false;
            }
            point = *next;
        }
        s.anchorTime = latest;
        if (!s.endDateFlag) {
            return true;
        }
        const std::optional<Time32> next = ReferenceMonths(latest, s.count, day);
        text = next ? FormatTime(*next) : "";
        return next && *next <= s.endTime;
    }
    const int32_t span = s.GetPeriodSpan();
    if (span <= 0) {
        return false;
    }
    for (int step = 0; Difference(now, s.anchorTime) > span; ++step) {
        if (step == kReferenceStepLimit) {
            return std::nullopt;
        }
        s.anchorTime = AddSpan(s.anchorTime, span);
    }
    const Time32 next = AddSpan(s.anchorTime, span);
    text = FormatTime(next);
    return !s.endDateFlag || next <= s.endTime;
}

class RandomSchedules {
public:
    int64_t Between(int64_t low, int64_t high) {
        return std::uniform_int_distribution<int64_t>(low, high)(random_);
    }
    bool Chance(int percent) { return Between(1, 100) <= percent; }
    Time32 AnyTime() { return static_cast<Time32>(Between(kTimeMin, kTimeMax)); }
    Time32 Near(Time32 time, int64_t low, int64_t high) {
        return static_cast<Time32>(std::clamp<int64_t>(time + Between(low, high), 0, kTimeMax));
    }

    // An anchor from which now lies exactly on a period boundary; months count back by calendar.
    Time32 WholePeriodsBefore(Time32 now, int64_t span) {
        const int64_t periods = Between(0, 40);
        const std::optional<std::tm> fields = ToLocalFields(now);
        if (span > 0 || !fields) {
            return static_cast<Time32>(std::clamp<int64_t>(now - periods * span, 0, kTimeMax));
        }
        return FromLocalFields(fields->tm_year + 1900, fields->tm_mon + 1 - periods,
                               std::min(fields->tm_mday, 28), fields->tm_hour, fields->tm_min,
                               fields->tm_sec)
            .value_or(now);
    }

    void Fill(CSchedule& s, Time32 now) {
        s.unit = static_cast<int32_t>(Chance(90) ? Between(0, 4) : Between(-2, 6));
        s.count = static_cast<int32_t>(Chance(85)   ? Between(1, 40)
                                       : Chance(50) ? Between(-1, 0)
                                                    : AnyTime());
        s.onceFlag = Chance(15);
        s.disabledFlag = Chance(10);
        s.startTime = Near(now, -3 * kDay, 3 * kDay);
        const int64_t period =
            s.unit == kMonths ? 31 * kDay : std::max<int32_t>(s.GetPeriodSpan(), 60);
        s.anchorTime = Chance(90) ? Near(now, -3000 * period, 3 * period) : AnyTime();
        if (Chance(25)) {
            s.anchorTime = WholePeriodsBefore(now, s.unit == kMonths ? 0 : period);
        }
        s.endDateFlag = Chance(50);
        s.endTime = Chance(90) ? Near(now, -30 * kDay, 3 * 366 * kDay) : AnyTime();
    }

private:
    std::mt19937_64 random_{20010507};
};

}  // namespace

TEST(ScheduleProperty, DueAndNextTimeAgreeWithTheOnePeriodAtATimeWalk) {
    RandomSchedules random;
    int compared = 0;
    for (int i = 0; i < 3000; ++i) {
        FakeClock clock(random.Chance(95)
                            ? static_cast<Time32>(random.Between(788918400, 2100000000))
                            : random.AnyTime());
        CSchedule schedule(clock);
        random.Fill(schedule, clock.now);
        CSchedule reference = schedule;
        std::string text, referenceText;
        const bool due = schedule.IsDue();
        const bool hasNext = schedule.GetNextTime(text);
        const bool referenceDue = ReferenceIsDue(reference, clock.now);
        const std::optional<bool> referenceNext =
            ReferenceNextTime(reference, clock.now, referenceText);
        if (!referenceNext) {
            continue;
        }
        ++compared;
        ASSERT_EQ((Outcome{due, hasNext, text, schedule.anchorTime}),
                  (Outcome{referenceDue, *referenceNext, referenceText, reference.anchorTime}))
            << "case " << i << ": unit " << schedule.unit << " count " << schedule.count
            << " anchor " << reference.anchorTime << " now " << clock.now;
    }
    EXPECT_GT(compared, 2700);
}

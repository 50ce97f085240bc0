#include "scheduler/CSchedule.h"

#include <limits>

namespace {

constexpr int32_t kSecondsPerDay = 86400;
constexpr int kMonthStepDays = 31;
// Only February and the 30-day months are short, and each is followed by a longer month.
constexpr int kMonthsToSearch = 2;

std::optional<int> DayOfMonth(Time32 time) {
    const std::optional<std::tm> fields = ToLocalFields(time);
    if (!fields) {
        return std::nullopt;
    }
    return fields->tm_mday;
}

// `months` steps on day `day` of the month; stops early once past `stopAfter`, since steps only
// move forward. Nothing when a step cannot be computed or the day is unknown. A step fails rather
// than wrap, so at most the ~890 months of the 32-bit range are walked, whatever `months` says.
std::optional<Time32> StepMonths(Time32 from, int32_t months, std::optional<int> day,
                                 Time32 stopAfter = std::numeric_limits<Time32>::max()) {
    for (int32_t step = 0; step < months && from <= stopAfter; ++step) {
        const std::optional<Time32> next = day ? MonthStep(from, *day) : std::nullopt;
        if (!next) {
            return std::nullopt;
        }
        from = *next;
    }
    return from;
}

// The stored format's step: 31 days forward, then back a day at a time to the day of the month.
std::optional<Time32> StepBackToDay(Time32 time, int dayOfMonth) {
    Time32 candidate = AddSpan(time, kMonthStepDays * kSecondsPerDay);
    for (int back = 0; back < kMonthStepDays; ++back) {
        const std::optional<int> day = DayOfMonth(candidate);
        if (!day) {
            return std::nullopt;  // beyond 2038: wrapped below 1970, which no runtime converts
        }
        if (*day == dayOfMonth) {
            return candidate;
        }
        candidate = AddSpan(candidate, -kSecondsPerDay);
    }
    return std::nullopt;
}

// Day d of the first following month that has it, at the same local clock time.
std::optional<Time32> CalendarStep(Time32 time, int dayOfMonth) {
    const std::optional<std::tm> from = ToLocalFields(time);
    if (!from) {
        return std::nullopt;
    }
    for (int months = 1; months <= kMonthsToSearch; ++months) {
        const int monthIndex = from->tm_mon + months;
        const std::optional<Time32> candidate =
            FromLocalFields(from->tm_year + 1900 + monthIndex / 12, monthIndex % 12 + 1, dayOfMonth,
                            from->tm_hour, from->tm_min, from->tm_sec);
        const std::optional<std::tm> landed = candidate ? ToLocalFields(*candidate) : std::nullopt;
        if (landed && landed->tm_mday == dayOfMonth) {
            return candidate;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<Time32> MonthStep(Time32 time, int dayOfMonth) {
    // Mended: where the stored format's step finds no day d (a following month without it, or a
    // daylight-saving change that moves the day steps past midnight) it used to give back the
    // input, which made the schedule due at every tick and its next-time walk endless.
    if (const std::optional<Time32> stepped = StepBackToDay(time, dayOfMonth)) {
        return stepped;
    }
    return CalendarStep(time, dayOfMonth);
}

std::optional<Time32> MonthsAfter(Time32 anchor, int32_t months) {
    return StepMonths(anchor, months, DayOfMonth(anchor));
}

std::optional<Time32> ComposeLocalTime(Time32 date, Time32 time) {
    const std::optional<std::tm> day = ToLocalFields(date);
    const std::optional<std::tm> clock = ToLocalFields(time);
    if (!day || !clock) {
        return std::nullopt;
    }
    return FromLocalFields(day->tm_year + 1900, day->tm_mon + 1, day->tm_mday, clock->tm_hour,
                           clock->tm_min, 0);
}

Time32 AdjustAnchor(Time32 anchor, Time32 newStart, bool loaded) {
    return !loaded || anchor < newStart ? newStart : anchor;
}

CSchedule::CSchedule(const Clock& clock)
    : startTime(clock.Now()), endTime(startTime), anchorTime(startTime), clock_(clock) {}

void CSchedule::FromRecord(const ScheduleRecord& record) {
    startTime = ReadField(record, RecordField::StartTime);
    endTime = ReadField(record, RecordField::EndTime);
    anchorTime = ReadField(record, RecordField::AnchorTime);
    onceFlag = ReadField(record, RecordField::OnceFlag) != 0;
    endDateFlag = ReadField(record, RecordField::EndDateFlag) != 0;
    disabledFlag = ReadField(record, RecordField::DisabledFlag) != 0;
    count = ReadField(record, RecordField::Count);
    unit = ReadField(record, RecordField::Unit);
    loadedFlag = true;
}

ScheduleRecord CSchedule::ToRecord() const {
    ScheduleRecord record{};
    WriteField(record, RecordField::StartTime, startTime);
    WriteField(record, RecordField::EndTime, endTime);
    WriteField(record, RecordField::AnchorTime, anchorTime);
    WriteField(record, RecordField::OnceFlag, onceFlag ? 1 : 0);
    WriteField(record, RecordField::EndDateFlag, endDateFlag ? 1 : 0);
    WriteField(record, RecordField::DisabledFlag, disabledFlag ? 1 : 0);
    WriteField(record, RecordField::Count, count);
    WriteField(record, RecordField::Unit, unit);
    return record;
}

ScheduleEditFields CSchedule::ToEditFields() const {
    ScheduleEditFields fields;
    fields.startDate = startTime;
    fields.startTime = startTime;
    fields.endDate = endTime;
    fields.endTime = endTime;
    fields.onceFlag = onceFlag;
    fields.endDateFlag = endDateFlag;
    fields.disabledFlag = disabledFlag;
    fields.count = static_cast<uint32_t>(count);
    fields.unit = unit;
    fields.loadedFlag = loadedFlag;
    fields.anchorTime = anchorTime;
    return fields;
}

bool CSchedule::Edit(ScheduleEditor& editor) {
    ScheduleEditFields fields = ToEditFields();
    if (!editor.Run(fields)) {
        return false;
    }
    clearedFlag = fields.clearedFlag;
    if (clearedFlag) {
        return true;
    }
    endDateFlag = fields.endDateFlag;
    onceFlag = fields.onceFlag;
    disabledFlag = fields.disabledFlag;
    unit = fields.unit;
    count = static_cast<int32_t>(fields.count);
    // A date or time the runtime cannot convert leaves the stored time as it was.
    startTime = ComposeLocalTime(fields.startDate, fields.startTime).value_or(startTime);
    endTime = ComposeLocalTime(fields.endDate, fields.endTime).value_or(endTime);
    anchorTime = AdjustAnchor(anchorTime, startTime, loadedFlag);
    return true;
}

int32_t CSchedule::GetPeriodSpan() const {
    if (unit < 0 || unit >= static_cast<int32_t>(kPeriodUnits.size())) {
        return 0;
    }
    // The shared format multiplies in signed 32 bits; 3551 weeks and more wrap.
    const auto seconds = static_cast<uint32_t>(kPeriodUnits[unit].secondsPerUnit);
    return static_cast<int32_t>(static_cast<uint32_t>(count) * seconds);
}

bool CSchedule::IsDue() const {
    if (disabledFlag) {
        return false;
    }
    const Time32 now = clock_.Now();
    if (onceFlag) {
        return now >= startTime;
    }
    if (endDateFlag && now > endTime) {
        return false;
    }
    if (IsMonthly()) {
        // Steps only move forward: once past now, further steps cannot make the queue due.
        const std::optional<Time32> due =
            StepMonths(anchorTime, count, DayOfMonth(anchorTime), now);
        return due && now >= *due;
    }
    return Difference(now, anchorTime) >= GetPeriodSpan();
}

bool CSchedule::GetNextTime(std::string& text) {
    text.clear();
    const Time32 now = clock_.Now();
    if (endDateFlag && now > endTime) {
        return false;
    }
    if (onceFlag) {
        anchorTime = now;
        return false;
    }
    return IsMonthly() ? GetNextMonthlyTime(now, text) : GetNextPeriodTime(now, text);
}

bool CSchedule::GetNextMonthlyTime(Time32 now, std::string& text) {
    // Every point the walks reach falls on the anchor's day of the month.
    const std::optional<int> day = DayOfMonth(anchorTime);
    Time32 latest = anchorTime;
    for (Time32 point = anchorTime; now >= point;) {
        latest = point;
        const std::optional<Time32> next = StepMonths(point, 1, day);
        if (!next) {
            return false;  // the following month lies beyond what the runtime converts
        }
        point = *next;
    }
    anchorTime = latest;
    if (!endDateFlag) {
        return true;
    }
    const std::optional<Time32> next = StepMonths(anchorTime, count, day);
    if (!next) {
        return false;
    }
    text = FormatTime(*next);
    return *next <= endTime;
}

bool CSchedule::GetNextPeriodTime(Time32 now, std::string& text) {
    const int32_t span = GetPeriodSpan();
    if (span <= 0) {
        return false;  // mended: without a period the catch-up never reaches now
    }
    const int32_t elapsed = Difference(now, anchorTime);
    if (elapsed > span) {
        // As many whole periods as leave at most one span elapsed, computed rather than walked
        // so that a one-minute period decades behind costs nothing.
        anchorTime = AddSpan(anchorTime, (elapsed - 1) / span * span);
    }
    const Time32 next = AddSpan(anchorTime, span);
    text = FormatTime(next);
    return !endDateFlag || next <= endTime;
}

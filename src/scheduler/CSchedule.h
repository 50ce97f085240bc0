#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/Clock.h"
#include "core/Time32.h"
#include "scheduler/PeriodUnit.h"
#include "scheduler/ScheduleEditor.h"
#include "scheduler/ScheduleRecord.h"

// One calendar month on from `time`: day `dayOfMonth` of the first following month that has that
// day, at the same local clock time. Nothing when the C runtime cannot convert a time on the way.
std::optional<Time32> MonthStep(Time32 time, int dayOfMonth);

// `months` month steps on from `anchor`, each on the anchor's day of the month; nothing when a
// step lies beyond what the runtime converts.
std::optional<Time32> MonthsAfter(Time32 anchor, int32_t months);

// The local date of `date` at the hour and minute of `time`, seconds 0, daylight saving decided
// by the C runtime; nothing when either value or the result cannot be converted.
std::optional<Time32> ComposeLocalTime(Time32 date, Time32 time);

// The anchor after an edit moved the start: a schedule not read from the store counts from its
// start; a stored one restarts its count only when the start moved past the old anchor.
Time32 AdjustAnchor(Time32 anchor, Time32 newStart, bool loaded);

// The timing of one scheduled queue. Built, used and dropped within one handler or tick.
class CSchedule {
public:
    // Every time starts at the same reading of the clock.
    explicit CSchedule(const Clock& clock);

    void FromRecord(const ScheduleRecord& record);
    ScheduleRecord ToRecord() const;
    bool Edit(ScheduleEditor& editor);
    bool IsCleared() const { return clearedFlag; }
    int32_t GetPeriodSpan() const;
    bool IsDue() const;
    // True when there is a next run; `text` then holds its time, or stays empty for a monthly
    // schedule without an end date. Moves anchorTime up to the latest period start before now.
    bool GetNextTime(std::string& text);

    Time32 startTime;
    Time32 endTime;
    Time32 anchorTime;
    bool onceFlag = true;
    bool disabledFlag = false;
    bool endDateFlag = false;
    bool clearedFlag = false;
    int32_t count = 1;
    int32_t unit = static_cast<int32_t>(PeriodUnit::Minutes);
    bool loadedFlag = false;

private:
    bool IsMonthly() const { return unit == static_cast<int32_t>(PeriodUnit::Months); }
    bool GetNextMonthlyTime(Time32 now, std::string& text);
    bool GetNextPeriodTime(Time32 now, std::string& text);
    ScheduleEditFields ToEditFields() const;

    const Clock& clock_;
};

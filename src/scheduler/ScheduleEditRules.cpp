#include "scheduler/ScheduleEditRules.h"

#include <limits>

#include "scheduler/CSchedule.h"
#include "scheduler/PeriodUnit.h"

namespace {

constexpr int64_t kLatestTime = std::numeric_limits<Time32>::max();

// Whether the first run, counted from the anchor that OK will store, is a time the stored format
// holds: it multiplies the count in signed 32 bits, and it ends early in 2038.
bool FirstRunFits(const ScheduleEditFields& fields) {
    // A start the pickers never showed is still the stored one, and OK keeps it.
    const Time32 start =
        ComposeLocalTime(fields.startDate, fields.startTime).value_or(fields.startDate);
    const Time32 anchor = AdjustAnchor(fields.anchorTime, start, fields.loadedFlag);
    const PeriodUnitInfo& info = kPeriodUnits[static_cast<size_t>(fields.unit)];
    if (info.unit == PeriodUnit::Months) {
        return MonthsAfter(anchor, static_cast<int32_t>(fields.count)).has_value();
    }
    const int64_t span = int64_t{fields.count} * info.secondsPerUnit;
    return span <= kLatestTime && anchor + span <= kLatestTime;
}

}  // namespace

bool KeepEndAfterStart(ScheduleEditFields& fields) {
    const std::optional<Time32> start = ComposeLocalTime(fields.startDate, fields.startTime);
    const std::optional<Time32> end = ComposeLocalTime(fields.endDate, fields.endTime);
    if (!start || !end || *end >= *start) {
        return false;
    }
    fields.endDate = fields.startDate;
    fields.endTime = fields.startTime;
    return true;
}

UnusableField FindUnusableField(const ScheduleEditFields& fields) {
    if (fields.onceFlag) {
        return UnusableField::None;
    }
    if (fields.count < 1 ||
        fields.count > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) {
        return UnusableField::Count;
    }
    if (fields.unit < 0 || fields.unit >= static_cast<int32_t>(kPeriodUnits.size())) {
        return UnusableField::Unit;
    }
    return FirstRunFits(fields) ? UnusableField::None : UnusableField::Count;
}

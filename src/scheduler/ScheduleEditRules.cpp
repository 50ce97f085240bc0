#include "scheduler/ScheduleEditRules.h"

#include <limits>

#include "scheduler/CSchedule.h"
#include "scheduler/PeriodUnit.h"

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
    return UnusableField::None;
}

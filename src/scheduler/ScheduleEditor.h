#pragma once

#include <cstdint>

#include "core/Time32.h"

// What the Schedule Transfer dialog edits. Each of the four times is a whole point in time: the
// dialog takes only the calendar date from startDate and endDate and only the hour and minute
// from startTime and endTime.
struct ScheduleEditFields {
    Time32 startDate = 0;
    Time32 startTime = 0;
    Time32 endDate = 0;
    Time32 endTime = 0;
    bool onceFlag = true;
    bool endDateFlag = false;
    bool disabledFlag = false;
    uint32_t count = 0;
    int32_t unit = 0;
    bool loadedFlag = false;
    bool clearedFlag = false;
    // Not edited: the stored anchor, from which the first run of an edited period counts.
    Time32 anchorTime = 0;
};

// Runs the editing dialog modally on the fields; true when the user closed it with OK.
class ScheduleEditor {
public:
    virtual ~ScheduleEditor() = default;
    virtual bool Run(ScheduleEditFields& fields) = 0;
};

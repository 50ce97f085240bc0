#pragma once

#include "scheduler/ScheduleEditor.h"

// A start moved past the end pulls the end along to it; an end equal to the start stays. True
// when the end was moved. Fields that the runtime cannot convert are left alone.
bool KeepEndAfterStart(ScheduleEditFields& fields);

enum class UnusableField { None, Count, Unit };

// Mended: a repeating schedule stored with a count of 0 or without a unit has no next run. A
// count must stay at least 1 once stored as a signed number. A one-time schedule uses neither.
UnusableField FindUnusableField(const ScheduleEditFields& fields);

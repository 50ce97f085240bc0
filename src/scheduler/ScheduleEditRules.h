#pragma once

#include "scheduler/ScheduleEditor.h"

// A start moved past the end pulls the end along to it; an end equal to the start stays. True
// when the end was moved. Fields that the runtime cannot convert are left alone.
bool KeepEndAfterStart(ScheduleEditFields& fields);

enum class UnusableField { None, Count, Unit };

// Mended: a repeating schedule stored with a count of 0 or without a unit has no next run, and
// one whose period overflows the stored format's signed 32-bit seconds, or whose first run lies
// past 2038, never runs as asked. A one-time schedule uses neither count nor unit.
UnusableField FindUnusableField(const ScheduleEditFields& fields);

#pragma once

#include <array>
#include <cstdint>

// Unit numbers are part of the record format shared with the client.
enum class PeriodUnit : int32_t { Minutes = 0, Hours = 1, Days = 2, Weeks = 3, Months = 4 };

struct PeriodUnitInfo {
    PeriodUnit unit;
    const char* label;
    int32_t secondsPerUnit;  // 0 for Months, which step by the calendar instead
};

// In the order the unit list offers them.
constexpr std::array<PeriodUnitInfo, 5> kPeriodUnits{{
    {PeriodUnit::Minutes, "Minutes", 60},
    {PeriodUnit::Hours, "Hours", 3600},
    {PeriodUnit::Days, "Days", 86400},
    {PeriodUnit::Weeks, "Weeks", 604800},
    {PeriodUnit::Months, "Months", 0},
}};

#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

// A point in time as the shared registry records store it: signed 32-bit seconds since 1970.
using Time32 = int32_t;

// Signed 32-bit arithmetic that wraps in two's complement, as the stored format defines it.
inline Time32 AddSpan(Time32 time, int32_t span) {
    return static_cast<Time32>(static_cast<uint32_t>(time) + static_cast<uint32_t>(span));
}

inline int32_t Difference(Time32 later, Time32 earlier) {
    return static_cast<int32_t>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}

// Local calendar fields of a time; nothing when the C runtime cannot convert it.
std::optional<std::tm> ToLocalFields(Time32 time);

// A local time with the daylight-saving decision left to the C runtime (tm_isdst = -1);
// nothing when the fields do not name a time in the signed 32-bit range after 1970.
std::optional<Time32> FromLocalFields(int year, int month, int day, int hour, int minute,
                                      int second);

// "%c" of the C runtime's default locale, spelt out so both worlds print the same text;
// empty when the time cannot be converted.
std::string FormatTime(Time32 time);

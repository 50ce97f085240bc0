#include "core/Time32.h"

#include <limits>

std::optional<std::tm> ToLocalFields(Time32 time) {
    if (time < 0) {
        return std::nullopt;  // The Windows runtime refuses times before 1970; so do we, everywhere.
    }
    const std::time_t value = time;
    const std::tm* fields = std::localtime(&value);
    if (fields == nullptr) {
        return std::nullopt;
    }
    return *fields;
}

std::optional<Time32> FromLocalFields(int year, int month, int day, int hour, int minute,
                                      int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    const std::time_t value = std::mktime(&fields);
    if (value < 0 || value > std::numeric_limits<Time32>::max()) {
        return std::nullopt;
    }
    return static_cast<Time32>(value);
}

std::string FormatTime(Time32 time) {
    const std::optional<std::tm> fields = ToLocalFields(time);
    if (!fields) {
        return {};
    }
    char text[32];
    const size_t length = std::strftime(text, sizeof text, "%m/%d/%y %H:%M:%S", &*fields);
    return std::string(text, length);
}

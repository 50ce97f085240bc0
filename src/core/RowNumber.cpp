#include "core/RowNumber.h"

#include <cctype>
#include <cstdint>
#include <limits>

int RowNumberFromName(const std::string& name) {
    size_t position = 0;
    while (position < name.size() && std::isspace(static_cast<unsigned char>(name[position]))) {
        ++position;
    }
    bool negative = false;
    if (position < name.size() && (name[position] == '-' || name[position] == '+')) {
        negative = name[position] == '-';
        ++position;
    }
    int64_t value = 0;
    const int64_t limit = int64_t{std::numeric_limits<int>::max()} + 1;
    for (; position < name.size() && std::isdigit(static_cast<unsigned char>(name[position]));
         ++position) {
        value = value * 10 + (name[position] - '0');
        if (value > limit) {
            value = limit;  // saturate instead of overflowing on absurd names
        }
    }
    if (negative) {
        return static_cast<int>(-value);
    }
    return static_cast<int>(value >= limit ? limit - 1 : value);
}

bool IsCanonicalRowName(const std::string& name) {
    return !name.empty() && RowName(RowNumberFromName(name)) == name;
}

std::string RowName(int number) { return std::to_string(number); }

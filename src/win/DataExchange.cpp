#include "win/DataExchange.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <limits>
#include <vector>

#include "win/ModalAnswer.h"

namespace {

constexpr char kNotANumber[] = "Please enter a positive integer.";
constexpr char kMessageCaption[] = "Vantrel Monitor";
constexpr size_t kDigitsPerGroup = 3;
constexpr int kSeparatorSize = 8;  // up to three characters in any code page, and the NUL

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Plain digits, or a first group of one to three digits and then groups of three, each after
// the separator, as an up-down control writes its buddy.
bool IsGroupedNumber(const std::string& text, const std::string& separator) {
    std::vector<size_t> groups{0};
    for (size_t position = 0; position < text.size();) {
        if (IsDigit(text[position])) {
            ++groups.back();
            ++position;
        } else if (!separator.empty() && text.compare(position, separator.size(), separator) == 0) {
            groups.push_back(0);
            position += separator.size();
        } else {
            return false;
        }
    }
    if (groups.size() == 1) {
        return groups.front() > 0;
    }
    return groups.front() > 0 && groups.front() <= kDigitsPerGroup &&
           std::all_of(groups.begin() + 1, groups.end(),
                       [](size_t digits) { return digits == kDigitsPerGroup; });
}

std::string ThousandsSeparator() {
    char separator[kSeparatorSize] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, kSeparatorSize) == 0) {
        return {};  // then only plain digits are accepted
    }
    return separator;
}

bool ToSystemTime(Time32 time, SYSTEMTIME& local) {
    const auto fields = ToLocalFields(time);
    if (!fields) {
        return false;
    }
    local = {};
    local.wYear = static_cast<WORD>(fields->tm_year + 1900);
    local.wMonth = static_cast<WORD>(fields->tm_mon + 1);
    local.wDay = static_cast<WORD>(fields->tm_mday);
    local.wDayOfWeek = static_cast<WORD>(fields->tm_wday);
    local.wHour = static_cast<WORD>(fields->tm_hour);
    local.wMinute = static_cast<WORD>(fields->tm_min);
    local.wSecond = static_cast<WORD>(fields->tm_sec);
    return true;
}

}  // namespace

bool ParseUnsignedNumber(const std::string& text, const std::string& separator, uint32_t& value) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsSpace(text[first])) {
        ++first;
    }
    while (last > first && IsSpace(text[last - 1])) {
        --last;
    }
    const std::string number = text.substr(first, last - first);
    if (!IsGroupedNumber(number, separator)) {
        return false;
    }
    uint64_t parsed = 0;
    for (const char c : number) {
        if (IsDigit(c)) {
            parsed = parsed * 10 + static_cast<uint64_t>(c - '0');
            if (parsed > std::numeric_limits<uint32_t>::max()) {
                return false;
            }
        }
    }
    value = static_cast<uint32_t>(parsed);
    return true;
}

void LimitToTime32(Window picker) {
    SYSTEMTIME range[2];
    if (ToSystemTime(0, range[0]) && ToSystemTime(std::numeric_limits<Time32>::max(), range[1])) {
        picker.Send(DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
    }
}

// Mended: the up-down control writes its buddy with the user's thousands separator from 1,000
// on, and that text used to be refused.
bool DataExchange::UnsignedNumber(int id, uint32_t& value) {
    if (!save_) {
        dialog_.SetItemText(id, std::to_string(value));
        return true;
    }
    if (ParseUnsignedNumber(dialog_.GetItemText(id), ThousandsSeparator(), value)) {
        return true;
    }
    AskMessageBox(dialog_, kNotANumber, kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
    HWND control = dialog_.GetItem(id);
    SetFocus(control);
    SendMessageA(control, EM_SETSEL, 0, -1);
    return false;
}

bool DataExchange::DateTime(int id, Time32& value) {
    SYSTEMTIME local{};
    if (!save_) {
        if (ToSystemTime(value, local)) {
            dialog_.SendItem(id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&local));
        }
        return true;  // a time that cannot be shown leaves the picker as it is
    }
    if (dialog_.SendItem(id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&local)) != GDT_VALID) {
        return true;
    }
    const auto time = FromLocalFields(local.wYear, local.wMonth, local.wDay, local.wHour,
                                      local.wMinute, local.wSecond);
    if (time) {
        value = *time;
    }
    return true;
}

bool DataExchange::Check(int id, int32_t& value) {
    if (save_) {
        value = dialog_.IsItemChecked(id) ? 1 : 0;
    } else {
        dialog_.CheckItem(id, value != 0);
    }
    return true;
}

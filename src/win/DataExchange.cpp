#include "win/DataExchange.h"

#include <commctrl.h>

#include <cctype>
#include <cstdlib>
#include <limits>

namespace {

constexpr char kNotANumber[] = "Please enter a positive integer.";
constexpr char kMessageCaption[] = "Vantrel Monitor";

}  // namespace

bool ParseUnsignedNumber(const std::string& text, uint32_t& value) {
    size_t position = 0;
    while (position < text.size() && std::isspace(static_cast<unsigned char>(text[position]))) {
        ++position;
    }
    uint64_t number = 0;
    const size_t firstDigit = position;
    for (; position < text.size() && std::isdigit(static_cast<unsigned char>(text[position]));
         ++position) {
        number = number * 10 + static_cast<uint64_t>(text[position] - '0');
        if (number > std::numeric_limits<uint32_t>::max()) {
            return false;
        }
    }
    if (position == firstDigit) {
        return false;
    }
    while (position < text.size() && std::isspace(static_cast<unsigned char>(text[position]))) {
        ++position;
    }
    if (position != text.size()) {
        return false;
    }
    value = static_cast<uint32_t>(number);
    return true;
}

bool DataExchange::UnsignedNumber(int id, uint32_t& value) {
    if (!save_) {
        dialog_.SetItemText(id, std::to_string(value));
        return true;
    }
    if (ParseUnsignedNumber(dialog_.GetItemText(id), value)) {
        return true;
    }
    MessageBoxA(dialog_, kNotANumber, kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
    HWND control = dialog_.GetItem(id);
    SetFocus(control);
    SendMessageA(control, EM_SETSEL, 0, -1);
    return false;
}

bool DataExchange::DateTime(int id, Time32& value) {
    SYSTEMTIME local{};
    if (!save_) {
        const auto fields = ToLocalFields(value);
        if (!fields) {
            return true;  // leave the picker as it is rather than show a wrong date
        }
        local.wYear = static_cast<WORD>(fields->tm_year + 1900);
        local.wMonth = static_cast<WORD>(fields->tm_mon + 1);
        local.wDay = static_cast<WORD>(fields->tm_mday);
        local.wDayOfWeek = static_cast<WORD>(fields->tm_wday);
        local.wHour = static_cast<WORD>(fields->tm_hour);
        local.wMinute = static_cast<WORD>(fields->tm_min);
        local.wSecond = static_cast<WORD>(fields->tm_sec);
        dialog_.SendItem(id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&local));
        return true;
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

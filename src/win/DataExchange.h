#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/Time32.h"
#include "win/Window.h"

// Moves values between a dialog's controls and its members, in one direction per instance.
// Each call returns false when it refused the control's text; the caller stops there.
class DataExchange {
public:
    DataExchange(HWND dialog, bool save) : dialog_(dialog), save_(save) {}

    bool Saving() const { return save_; }
    // An unsigned 32-bit decimal number in an edit control, its digits plain or grouped with the
    // user's thousands separator; other text is refused with a message box and the focus goes
    // back to the control.
    bool UnsignedNumber(int id, uint32_t& value);
    // A date-time picker's value as a local time. A time that the runtime cannot convert is not
    // shown: the picker keeps what it showed.
    bool DateTime(int id, Time32& value);
    bool Check(int id, int32_t& value);

private:
    Window dialog_;
    bool save_;
};

// True, with the number, when the text is an unsigned 32-bit decimal number (white space around
// it allowed), in plain digits or in groups of three joined by `separator`.
bool ParseUnsignedNumber(const std::string& text, const std::string& separator, uint32_t& value);

// Lets a date-time picker offer only the local times that a Time32 can hold.
void LimitToTime32(Window picker);

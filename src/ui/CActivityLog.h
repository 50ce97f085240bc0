#pragma once

#include <windows.h>

#include <richedit.h>

#include <string>

#include "core/Clock.h"
#include "core/LogSink.h"
#include "win/Window.h"

// The read-only rich edit view that fills the main window: one timestamped line per event, the
// whole line in its colour. Keeps no copy of the text.
class CActivityLog : public Window, public LogSink {
public:
    explicit CActivityLog(const Clock& clock) : clock_(clock) {}

    bool Create(HWND parent, const RECT& rect);
    int Append(const std::string& message, Colour colour) override;

    // "[ <time> ]  <message>\r\n"
    static std::string FormatLine(const std::string& time, const std::string& message);

private:
    void OnCreate();
    LONG CharacterCount() const;

    const Clock& clock_;
    CHARFORMATA charFormat_{};
};

#pragma once

#include <windows.h>

#include <richedit.h>

#include <string>

#include "core/Clock.h"
#include "core/LogSink.h"
#include "win/Window.h"

// The read-only rich edit view that fills the main window: one timestamped line per event, the
// whole line in its colour. Keeps no copy of the text, and only the newest lines.
class CActivityLog : public Window, public LogSink {
public:
    // More than a day of the busiest schedule (a queue every minute writes 4,320 lines a day).
    // Under Wine a line holds some 13 KB, 67 MB for a full log, so no more than that.
    static constexpr int kMaxLines = 5000;
    // Dropped in blocks, so that most appends to a full log remove nothing; a small block, since
    // under Wine each line dropped walks the lines that remain (1 to 2 ms in a full log).
    static constexpr int kTrimLines = 100;

    explicit CActivityLog(const Clock& clock, int maxLines = kMaxLines, int trimLines = kTrimLines)
        : clock_(clock), maxLines_(maxLines), trimLines_(trimLines) {}

    bool Create(HWND parent, const RECT& rect);
    int Append(const std::string& message, Colour colour) override;
    // Fills the parent's client area of that size, on top, shown.
    void Fill(int width, int height);

    // "[ <time> ]  <message>\r\n"
    static std::string FormatLine(const std::string& time, const std::string& message);

private:
    void OnCreate();
    LONG CharacterCount() const;
    LONG FirstVisibleLine() const;
    bool IsScrolledUp() const;
    LONG TrimOldestLines();
    void InsertLine(const std::string& line, Colour colour);

    const Clock& clock_;
    const int maxLines_;
    const int trimLines_;
    CHARFORMATA charFormat_{};
};

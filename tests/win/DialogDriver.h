#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win/Window.h"

// Runs the action; a thread timer runs the script inside its modal loop once `find`'s window shows,
// then cancels it. A message box no script awaits fails the test and is cancelled: no hang.
INT_PTR WithScript(std::function<HWND()> find, std::function<void(Window)> script,
                   const std::function<INT_PTR()>& action);

struct MessageBoxContents {
    std::string caption, text;
};

// Clicks the button, then `answer` in the message box that shows; its contents, empty if none.
MessageBoxContents ClickAndAnswer(Window dialog, int button, int answer);

// Runs the action; once a message box owned by `owner` (any, for nullptr) shows, posts the quit
// message, as the session's end does, and clicks `answer`: the box ends with it, a quit pending.
void AnswerUnderQuit(HWND owner, int answer, const std::function<void()>& action);

inline void Click(Window dialog, int id) {
    dialog.SendItem(id, BM_CLICK);
}

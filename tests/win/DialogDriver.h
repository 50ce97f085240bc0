#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win/Window.h"

// Runs the action; once the window that `find` returns is on screen, a thread timer runs the
// script on it from inside its modal loop, then cancels it if still open. Meanwhile a message box
// that no script awaits fails the test and is cancelled, so that no fault hangs the run. The
// action's result.
INT_PTR WithScript(std::function<HWND()> find, std::function<void(Window)> script,
                   const std::function<INT_PTR()>& action);

struct MessageBoxContents {
    std::string caption, text;
};

// Clicks the dialog's button, then the button `answer` of the message box that shows: a box
// without it stays unanswered. The box's contents, empty when none showed.
MessageBoxContents ClickAndAnswer(Window dialog, int button, int answer);

inline void Click(Window dialog, int id) {
    dialog.SendItem(id, BM_CLICK);
}

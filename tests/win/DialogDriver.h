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

inline void Click(Window dialog, int id) {
    dialog.SendItem(id, BM_CLICK);
}

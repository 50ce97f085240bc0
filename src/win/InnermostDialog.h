#pragma once

#include <windows.h>

// The innermost of the thread's open dialogs and message boxes: shown and still enabled, since
// each disables its owner. Other popups, such as a date picker's calendar, are no dialogs.
// Nothing when none is open.
HWND InnermostDialog(DWORD threadId);

#pragma once

#include <windows.h>

#include <string>

// A modal loop that meets the quit message (the session ends, an installer closes the program)
// posts it again and ends with a result that nobody gave: undocumented for message boxes, and not
// the same under Wine and Windows. While a quit is pending, no modal answer counts.
bool IsQuitPending();

// MessageBoxA's answer, or 0 when a quit is pending, whether it came before the box (which is
// then not shown) or while it was open. 0 is also what a box that could not be shown answers:
// every caller takes its safe course for it.
int AskMessageBox(HWND owner, const std::string& text, const char* caption, UINT type);

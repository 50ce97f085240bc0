#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win/Dialog.h"

// Drives this thread's modal dialogs from inside their own message loops: a thread timer polls
// until the window is on screen and then runs a script against it. A script that opens a nested
// modal loop (a click that shows a message box) arms a MessageBoxAnswer first.

constexpr INT_PTR kLeftOpen = -2;

// DoModal, with the script run once the dialog is shown. The script must close the dialog; one
// that it leaves open fails the test and is ended with kLeftOpen.
INT_PTR RunModal(Dialog& dialog, std::function<void(Window)> script);

// Runs the script once a visible dialog of this thread with that title and owner appears, for
// dialogs that the code under test creates itself. The script must close it, as with RunModal.
class DialogScript {
public:
    DialogScript(const std::string& title, HWND owner, std::function<void(Window)> script);
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    bool ran = false;

private:
    UINT_PTR timer_;
};

struct MessageBoxContents {
    std::string caption;
    std::string text;
    std::vector<int> buttons;  // the command ids of the box's buttons, in child order
};

// Answers the next message box owned by `owner` (nullptr for an unowned one) with `button`.
class MessageBoxAnswer {
public:
    MessageBoxAnswer(HWND owner, int button);
    ~MessageBoxAnswer();
    MessageBoxAnswer(const MessageBoxAnswer&) = delete;
    MessageBoxAnswer& operator=(const MessageBoxAnswer&) = delete;

    bool answered = false;
    MessageBoxContents box;

private:
    UINT_PTR timer_;
};

// Fails the test on a message box that nothing answers within a second, and cancels it, so that
// a fault cannot hang the run. RunModal keeps one for its own run.
class UnansweredBoxWatchdog {
public:
    UnansweredBoxWatchdog();
    ~UnansweredBoxWatchdog();
    UnansweredBoxWatchdog(const UnansweredBoxWatchdog&) = delete;
    UnansweredBoxWatchdog& operator=(const UnansweredBoxWatchdog&) = delete;

private:
    UINT_PTR timer_;
};

// Pumps messages for the dialog as its modal loop does (keyboard through IsDialogMessage) until
// the condition holds; false when it still does not after the timeout.
bool PumpUntil(Window dialog, const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// A button click as the user makes it, through the button's own window procedure.
inline void Click(Window dialog, int id) {
    dialog.SendItem(id, BM_CLICK);
}

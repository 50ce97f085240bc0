#pragma once

#include <windows.h>

#include "core/Clock.h"
#include "core/ResumeQuestion.h"

// The resume question as the user sees it: the countdown dialog, owned as the framework owned a
// dialog without a parent (no taskbar button of its own), then a message box with no owner.
class DialogResumeQuestion : public ResumeQuestion {
public:
    DialogResumeQuestion(HWND mainWindow, const TickSource& ticks)
        : mainWindow_(mainWindow), ticks_(ticks) {}

    ResumeAnswer AskToResume() override;
    ResumeAnswer AskResumeLater() override;

private:
    HWND mainWindow_;
    const TickSource& ticks_;
};

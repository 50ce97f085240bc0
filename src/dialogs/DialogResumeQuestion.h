#pragma once

#include <windows.h>

#include "core/Clock.h"
#include "core/ResumeQuestion.h"

// The resume question as the user sees it: the countdown dialog, then a plain message box.
class DialogResumeQuestion : public ResumeQuestion {
public:
    DialogResumeQuestion(HWND owner, const TickSource& ticks) : owner_(owner), ticks_(ticks) {}

    ResumeAnswer AskToResume() override;
    ResumeAnswer AskResumeLater() override;

private:
    HWND owner_;
    const TickSource& ticks_;
};

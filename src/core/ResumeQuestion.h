#pragma once

// The start-up question about interrupted transfers and the box that follows a "No". An answer
// is Other when the question could not be shown or its message loop met the quit message: only
// an explicit answer changes anything.
enum class ResumeAnswer { Yes, No, Other };

class ResumeQuestion {
public:
    virtual ~ResumeQuestion() = default;
    // Yes also when nobody answers before the countdown runs out; No also for Escape and the
    // close box.
    virtual ResumeAnswer AskToResume() = 0;
    // Yes when the user wants the transfers offered again later.
    virtual ResumeAnswer AskResumeLater() = 0;
};

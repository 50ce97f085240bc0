#pragma once

// The start-up question about interrupted transfers and the box that follows a "No".
enum class ResumeAnswer { Yes, No, Other };

class ResumeQuestion {
public:
    virtual ~ResumeQuestion() = default;
    // Yes also when nobody answers before the countdown runs out; No also for Escape and the
    // close box; Other when the question could not be shown.
    virtual ResumeAnswer AskToResume() = 0;
    // True when the user wants the transfers offered again later.
    virtual bool AskResumeLater() = 0;
};

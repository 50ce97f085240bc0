#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/Clock.h"
#include "dialogs/CColorStatic.h"
#include "recovery/Countdown.h"
#include "res/resource.h"
#include "win/Dialog.h"

// A two-button question that presses its default button by itself when nobody answers before
// the timeout; a coloured line under the question counts the whole seconds down.
class CCountdownChoiceDialog : public Dialog {
public:
    enum { IDD = IDD_COUNTDOWN_CHOICE };

    // `defaultButton` 1 names the first button (IDOK), anything else the second (IDCANCEL).
    CCountdownChoiceDialog(std::string title, std::string message, uint32_t timeoutMs,
                           int defaultButton, std::string firstCaption, std::string secondCaption,
                           const TickSource& ticks);

protected:
    BOOL OnInit() override;
    bool OnTimer(UINT_PTR id) override;
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT message) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void ShowCountdownLine();
    void StopCountdown();

    std::string title_;
    std::string message_;
    std::string firstCaption_;
    std::string secondCaption_;
    int defaultButton_;
    uint32_t timeoutMs_;
    const TickSource& ticks_;
    Countdown countdown_;
    bool counting_ = false;
    CColorStatic countdownLine_;
};

#include "dialogs/CCountdownChoiceDialog.h"

#include <utility>

#include "core/Colours.h"

namespace {

constexpr UINT_PTR kCountdownTimer = 1;
constexpr UINT kCountdownPeriodMs = 100;

}  // namespace

CCountdownChoiceDialog::CCountdownChoiceDialog(std::string title, std::string message,
                                               uint32_t timeoutMs, int defaultButton,
                                               std::string firstCaption, std::string secondCaption,
                                               const TickSource& ticks)
    : Dialog(IDD),
      title_(std::move(title)),
      message_(std::move(message)),
      firstCaption_(std::move(firstCaption)),
      secondCaption_(std::move(secondCaption)),
      defaultButton_(defaultButton),
      timeoutMs_(timeoutMs),
      ticks_(ticks),
      countdown_(timeoutMs, 0) {}

BOOL CCountdownChoiceDialog::OnInit() {
    SetText(title_);
    SendItem(IDC_QUESTION_ICON, STM_SETICON,
             reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_QUESTION)));
    SetItemText(IDC_QUESTION_TEXT, message_);
    SetItemText(IDOK, firstCaption_);
    SetItemText(IDCANCEL, secondCaption_);
    countdownLine_.Attach(GetItem(IDC_COUNTDOWN_LINE));
    countdownLine_.SetTextColor(kCountdownBlue);
    countdown_ = Countdown(timeoutMs_, ticks_.TickCount());
    ShowCountdownLine();
    counting_ = SetTimer(hwnd_, kCountdownTimer, kCountdownPeriodMs, nullptr) != 0;
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return TRUE;
}

bool CCountdownChoiceDialog::OnTimer(UINT_PTR id) {
    if (id != kCountdownTimer) {
        return false;
    }
    // KillTimer leaves a WM_TIMER that is already queued: a tick arriving after an answer must
    // not overturn it.
    if (!counting_) {
        return true;
    }
    const CountdownStep step = countdown_.OnTick(ticks_.TickCount());
    if (step.lineChanged) {
        ShowCountdownLine();
    }
    if (step.timeUp) {
        if (defaultButton_ == kFirstButton) {
            OnOK();
        } else {
            OnCancel();
        }
    }
    return true;
}

HBRUSH CCountdownChoiceDialog::OnCtlColor(HDC dc, HWND control, UINT message) {
    if (message == WM_CTLCOLORSTATIC && control == countdownLine_.Handle()) {
        return countdownLine_.CtlColor(dc);
    }
    return Dialog::OnCtlColor(dc, control, message);
}

void CCountdownChoiceDialog::OnOK() {
    StopCountdown();
    Dialog::OnOK();
}

void CCountdownChoiceDialog::OnCancel() {
    StopCountdown();
    Dialog::OnCancel();
}

// Hidden while the text changes so that the old, longer text is erased by the dialog.
void CCountdownChoiceDialog::ShowCountdownLine() {
    const std::string& caption = DefaultCaption(defaultButton_, firstCaption_, secondCaption_);
    countdownLine_.Show(SW_HIDE);
    countdownLine_.SetText(CountdownLine(caption, countdown_.SecondsShown()));
    countdownLine_.Show(SW_SHOW);
}

void CCountdownChoiceDialog::StopCountdown() {
    counting_ = false;
    KillTimer(hwnd_, kCountdownTimer);
}

#include "dialogs/CCountdownChoiceDialog.h"

#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "recovery/ResumeFlow.h"
#include "shared/Fakes.h"

namespace {

constexpr uint32_t kStartTick = 5000;
constexpr DWORD kTimerWaitMs = 10;
constexpr WPARAM kCountdownTimer = 1;

class CountdownChoiceDialogTest : public ::testing::Test {
protected:
    INT_PTR Run(int defaultButton, std::function<void(Window)> script) {
        ticks.now = kStartTick;
        CCountdownChoiceDialog dialog(resume::kQuestionTitle, resume::kQuestionText, 10000,
                                      defaultButton, "Yes", "No", ticks);
        return WithScript([&] { return dialog.Handle(); }, std::move(script),
                          [&] { return dialog.DoModal(nullptr); });
    }
    // Lets one tick of the dialog's own timer see the tick count; the line it then shows.
    std::string TickTo(Window dialog, uint32_t elapsedMs) {
        ticks.now = kStartTick + elapsedMs;
        MSG timer{};
        for (int wait = 0;
             wait < 100 && !PeekMessageA(&timer, dialog, WM_TIMER, WM_TIMER, PM_REMOVE); ++wait) {
            Sleep(kTimerWaitMs);
        }
        DispatchMessageA(&timer);
        return dialog.GetItemText(IDC_COUNTDOWN_LINE);
    }

    FakeTicks ticks;
};

}  // namespace

// Whatever the countdown's default, the first button stays the dialog's default push button.
TEST_F(CountdownChoiceDialogTest, ShowsTheQuestionAndPressesTheDefaultWhenTimeIsUp) {
    for (const int defaultButton : {1, 2}) {
        const std::string line =
            std::string("Auto-selecting \"") + (defaultButton == 1 ? "Yes" : "No") + "\" in ";
        const auto waitForTheEnd = [&](Window dialog) {
            EXPECT_EQ(dialog.Send(DM_GETDEFID), MAKELONG(IDOK, DC_HASDEFID));
            const HDC dc = CreateCompatibleDC(nullptr);
            dialog.Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(dialog.GetItem(IDC_COUNTDOWN_LINE)));
            EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 180));
            DeleteDC(dc);
            EXPECT_EQ(dialog.GetItemText(IDC_COUNTDOWN_LINE), line + "10 second(s) ...");
            EXPECT_EQ(TickTo(dialog, 8999), line + "1 second(s) ...");
            EXPECT_TRUE(IsWindowVisible(dialog));
            EXPECT_EQ(TickTo(dialog, 9001), line + "0 second(s) ...");
            EXPECT_FALSE(IsWindowVisible(dialog));
        };
        EXPECT_EQ(Run(defaultButton, waitForTheEnd), defaultButton == 1 ? IDOK : IDCANCEL);
    }
}

// A timer message already queued when the answer came must not overturn it.
TEST_F(CountdownChoiceDialogTest, ClickBeforeTheEndAnswersAndALateTickCannotOverturnIt) {
    for (const int button : {IDOK, IDCANCEL}) {
        const auto answerEarly = [&](Window dialog) {
            Click(dialog, button);
            ticks.now = kStartTick + 20000;
            dialog.Send(WM_TIMER, kCountdownTimer);
        };
        EXPECT_EQ(Run(button == IDOK ? 2 : 1, answerEarly), button);
    }
}

#include "dialogs/CCountdownChoiceDialog.h"

#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "core/Colours.h"
#include "dialogs/DialogResumeQuestion.h"
#include "recovery/ResumeFlow.h"
#include "shared/Fakes.h"

namespace {

constexpr uint32_t kStartTick = 5000;
constexpr UINT_PTR kCountdownTimer = 1;

class CountdownChoiceDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ticks.now = kStartTick; }

    CCountdownChoiceDialog MakeDialog(int defaultButton, uint32_t timeoutMs = 10000) {
        return CCountdownChoiceDialog(resume::kQuestionTitle, resume::kQuestionText, timeoutMs,
                                      defaultButton, "Yes", "No", ticks);
    }
    // Lets the dialog's own timer see the tick count, and waits for its line to change or for it
    // to close.
    void TickTo(Window dialog, uint32_t elapsedMs) {
        const std::string before = dialog.GetItemText(IDC_COUNTDOWN_LINE);
        ticks.now = kStartTick + elapsedMs;
        PumpUntil(
            dialog,
            [&] {
                return dialog.GetItemText(IDC_COUNTDOWN_LINE) != before || !IsWindowVisible(dialog);
            },
            1000);
    }

    FakeTicks ticks;
};

struct PaintedColours {
    HBRUSH brush;
    COLORREF text;
    COLORREF background;
    int mode;
};

PaintedColours PaintColoursOf(Window dialog, int controlId) {
    const HDC dc = CreateCompatibleDC(nullptr);
    const auto brush =
        reinterpret_cast<HBRUSH>(dialog.Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                             reinterpret_cast<LPARAM>(dialog.GetItem(controlId))));
    const PaintedColours colours{brush, GetTextColor(dc), GetBkColor(dc), GetBkMode(dc)};
    DeleteDC(dc);
    return colours;
}

}  // namespace

TEST_F(CountdownChoiceDialogTest, ShowsTitleQuestionCaptionsIconAndTheFullCountdown) {
    auto dialog = MakeDialog(1);
    const INT_PTR result = RunModal(dialog, [](Window window) {
        EXPECT_EQ(window.GetText(), "Vantrel - Rushload");
        EXPECT_EQ(window.GetItemText(IDC_QUESTION_TEXT),
                  "Interrupted transfer(s) detected.\nDo you want to resume them?");
        EXPECT_EQ(window.GetItemText(IDOK), "Yes");
        EXPECT_EQ(window.GetItemText(IDCANCEL), "No");
        EXPECT_EQ(window.SendItem(IDC_QUESTION_ICON, STM_GETICON),
                  reinterpret_cast<LRESULT>(LoadIconA(nullptr, IDI_QUESTION)));
        EXPECT_EQ(window.GetItemText(IDC_COUNTDOWN_LINE),
                  "Auto-selecting \"Yes\" in 10 second(s) ...");
        Click(window, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(CountdownChoiceDialogTest, CountdownLineIsDarkBlueOnButtonFaceAndOtherTextIsNot) {
    auto dialog = MakeDialog(1);
    RunModal(dialog, [](Window window) {
        const PaintedColours line = PaintColoursOf(window, IDC_COUNTDOWN_LINE);
        EXPECT_EQ(line.brush, GetStockObject(NULL_BRUSH));
        EXPECT_EQ(line.text, kCountdownBlue);
        EXPECT_EQ(line.background, GetSysColor(COLOR_BTNFACE));
        EXPECT_EQ(line.mode, OPAQUE);
        EXPECT_NE(PaintColoursOf(window, IDC_QUESTION_TEXT).text, kCountdownBlue);
        Click(window, IDOK);
    });
}

TEST_F(CountdownChoiceDialogTest, FirstButtonStaysTheDefaultPushButtonWhateverTheCountdownDefault) {
    for (const int defaultButton : {1, 2}) {
        auto dialog = MakeDialog(defaultButton);
        RunModal(dialog, [](Window window) {
            EXPECT_EQ(window.Send(DM_GETDEFID), MAKELONG(IDOK, DC_HASDEFID));
            EXPECT_TRUE(GetWindowLongA(window.GetItem(IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
            EXPECT_FALSE(GetWindowLongA(window.GetItem(IDCANCEL), GWL_STYLE) & BS_DEFPUSHBUTTON);
            Click(window, IDCANCEL);
        });
    }
}

TEST_F(CountdownChoiceDialogTest, CountsWholeSecondsDownAndPressesTheDefaultWhenTimeIsUp) {
    struct Case {
        int defaultButton;
        const char* caption;
        INT_PTR result;
    };
    for (const Case& c : {Case{1, "Yes", IDOK}, Case{2, "No", IDCANCEL}}) {
        ticks.now = kStartTick;
        auto dialog = MakeDialog(c.defaultButton);
        const std::string line = std::string("Auto-selecting \"") + c.caption + "\" in ";
        const INT_PTR result = RunModal(dialog, [&](Window window) {
            TickTo(window, 100);
            EXPECT_EQ(window.GetItemText(IDC_COUNTDOWN_LINE), line + "9 second(s) ...");
            TickTo(window, 8999);
            EXPECT_EQ(window.GetItemText(IDC_COUNTDOWN_LINE), line + "1 second(s) ...");
            EXPECT_TRUE(IsWindowVisible(window));
            TickTo(window, 9001);
            EXPECT_FALSE(IsWindowVisible(window));
            EXPECT_EQ(window.GetItemText(IDC_COUNTDOWN_LINE), line + "0 second(s) ...");
        });
        EXPECT_EQ(result, c.result) << c.caption;
    }
}

TEST_F(CountdownChoiceDialogTest, OnlyItsOwnTimerAdvancesTheCountdown) {
    auto dialog = MakeDialog(1);
    const INT_PTR result = RunModal(dialog, [&](Window window) {
        KillTimer(window, kCountdownTimer);
        ticks.now = kStartTick + 20000;
        window.Send(WM_TIMER, kCountdownTimer + 1);
        EXPECT_TRUE(IsWindowVisible(window));
        window.Send(WM_TIMER, kCountdownTimer);
        EXPECT_FALSE(IsWindowVisible(window));
    });
    EXPECT_EQ(result, IDOK);
}

TEST_F(CountdownChoiceDialogTest, AnswerBeforeTheEndStandsAgainstALateTick) {
    for (const INT_PTR button : {IDOK, IDCANCEL}) {
        ticks.now = kStartTick;
        auto dialog = MakeDialog(button == IDOK ? 2 : 1);
        const INT_PTR result = RunModal(dialog, [&](Window window) {
            TickTo(window, 5000);
            Click(window, static_cast<int>(button));
            ticks.now = kStartTick + 20000;
            window.Send(WM_TIMER, kCountdownTimer);
        });
        EXPECT_EQ(result, button);
    }
}

TEST_F(CountdownChoiceDialogTest, KeyboardEscapeAnswersTheSecondButtonAndEnterTheFirst) {
    struct Case {
        WPARAM key;
        INT_PTR result;
    };
    for (const Case& c : {Case{VK_ESCAPE, IDCANCEL}, Case{VK_RETURN, IDOK}}) {
        auto dialog = MakeDialog(2);
        const INT_PTR result = RunModal(dialog, [&](Window window) {
            SetFocus(window.GetItem(IDC_QUESTION_TEXT));
            PostMessageA(GetFocus(), WM_KEYDOWN, c.key, 0);
            EXPECT_TRUE(PumpUntil(window, [&] { return !IsWindowVisible(window); }));
        });
        EXPECT_EQ(result, c.result) << c.key;
    }
}

TEST(DialogResumeQuestion, MapsTheButtonsToTheAnswers) {
    struct Case {
        int button;
        ResumeAnswer answer;
    };
    FakeTicks ticks;
    DialogResumeQuestion question(nullptr, ticks);
    const UnansweredBoxWatchdog watchdog;
    for (const Case& c : {Case{IDOK, ResumeAnswer::Yes}, Case{IDCANCEL, ResumeAnswer::No}}) {
        const DialogScript script(resume::kQuestionTitle, nullptr,
                                  [&](Window window) { Click(window, c.button); });
        EXPECT_EQ(question.AskToResume(), c.answer);
        EXPECT_TRUE(script.ran);
    }
}

TEST(DialogResumeQuestion, AsksAboutLaterInAnUnownedYesNoBox) {
    FakeTicks ticks;
    DialogResumeQuestion question(nullptr, ticks);
    for (const int button : {IDYES, IDNO}) {
        const MessageBoxAnswer answer(nullptr, button);
        EXPECT_EQ(question.AskResumeLater(), button == IDYES);
        ASSERT_TRUE(answer.answered);
        EXPECT_EQ(answer.box.caption, "Vantrel - Rushload");
        EXPECT_EQ(answer.box.text, "Do you want to resume interrupted transfers later?");
        EXPECT_EQ(answer.box.buttons, (std::vector<int>{IDYES, IDNO}));
    }
}

#include <optional>
#include <regex>

#include "e2e/E2eTest.h"

namespace {

constexpr char kQuestionTitle[] = "Vantrel - Rushload";

class RecoveryTest : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        const std::pair<const char*, DWORD> rows[] = {{"9", 1}, {"5", 0}, {"4", 1}};
        for (const auto& [row, version] : rows) {
            SetDword(registry::kTransferTable, row, registry::kVersionEntry, version);
        }
    }

    HWND StartAndWaitForQuestion() {
        return monitor.Start() ? monitor.WaitForWindow(kQuestionTitle) : nullptr;
    }

    // Answers "No" to the question; the box that asks about resuming later.
    HWND SayNoAndWaitForLaterBox() {
        HWND question = StartAndWaitForQuestion();
        if (question == nullptr) {
            return nullptr;
        }
        ClickButton(question, IDCANCEL);
        return WaitForWindowToClose(question) ? monitor.WaitForWindow(kQuestionTitle) : nullptr;
    }

    // The last listed first, each once.
    void ExpectResumed() const {
        EXPECT_EQ(standIns.Starts("Rushload", 2, 5000),
                  (std::vector<std::string>{"fdb://9", "fdb://4"}));
        EXPECT_EQ(monitor.WaitForLogMessages(3), Lines({}, {"Resuming interrupted transfers."}));
        EXPECT_EQ(RowNames(registry::kTransferTable), (std::vector<std::string>{"4", "9"}));
    }
};

}  // namespace

// Mended: the resume command ran under the open question, and "Yes" then started every row again.
TEST_F(RecoveryTest, QuestionComesAfterTheInvalidRowIsGoneAndYesResumesEachRowOnce) {
    HWND question = StartAndWaitForQuestion();
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(IsCentredOnOwner(question, monitor.Frame()));  // no taskbar button of its own
    EXPECT_EQ(RowNames(registry::kTransferTable), (std::vector<std::string>{"4", "9"}));
    EXPECT_EQ(ItemText(question, IDC_QUESTION_TEXT),
              "Interrupted transfer(s) detected.\nDo you want to resume them?");
    monitor.PostCommand(ID_RESUME_TRANSFERS);
    PostClickButton(question, IDOK);  // after the command: one queue for both
    ExpectResumed();
    EXPECT_EQ(standIns.Starts("Rushload", 3, 2000).size(), 2u);
}

TEST_F(RecoveryTest, UnansweredQuestionCountsDownAndChoosesYes) {
    HWND question = StartAndWaitForQuestion();
    ASSERT_NE(question, nullptr);
    const DWORD shown = GetTickCount();
    EXPECT_TRUE(std::regex_match(ItemText(question, IDC_COUNTDOWN_LINE),
                                 std::regex(R"(Auto-selecting "Yes" in \d+ second\(s\) \.\.\.)")));
    ASSERT_TRUE(WaitForWindowToClose(question, 15000));
    EXPECT_GE(GetTickCount() - shown, 7000u);
    ExpectResumed();
}

TEST_F(RecoveryTest, NoThenNoToResumingLaterEmptiesTheTable) {
    HWND later = SayNoAndWaitForLaterBox();
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(ItemText(later, kMessageBoxTextId),
              "Do you want to resume interrupted transfers later?");
    ClickButton(later, IDNO);
    EXPECT_TRUE(WaitUntil([] { return RowNames(registry::kTransferTable).empty(); }));
    EXPECT_EQ(monitor.LogMessages(), Lines({}));
    EXPECT_TRUE(standIns.Starts("Rushload", 1, 1000).empty());
}

// Mended: a second Resume before the downloader had announced itself started every row again.
TEST_F(RecoveryTest, NoQuestionWhileTheDownloaderRunsAndTheCommandResumesWithoutAsking) {
    std::optional<PresenceEvent> downloader;
    downloader.emplace("VANTRELRUSHLOADInstance");
    ASSERT_TRUE(monitor.Start());
    EXPECT_EQ(monitor.WaitForWindow(kQuestionTitle, 2000), nullptr);
    monitor.Send(WM_COMMAND, ID_RESUME_TRANSFERS);
    EXPECT_EQ(RowNames(registry::kTransferTable), (std::vector<std::string>{"4", "5", "9"}));
    EXPECT_EQ(monitor.LogMessages(), Lines({}));

    downloader.reset();
    standIns.AnnounceAfter("Rushload", 3000);
    monitor.PostCommand(ID_RESUME_TRANSFERS);
    monitor.PostCommand(ID_RESUME_TRANSFERS);
    ExpectResumed();
    EXPECT_EQ(standIns.Starts("Rushload", 3, 2000).size(), 2u);
    EXPECT_EQ(monitor.WaitForWindow(kQuestionTitle, 0), nullptr);
}

// Mended: a close under the "later" box stacked its question and, confirmed, ended the box's
// loop: its 0 gave up every row. A quit message at start-up left the icon behind.
TEST_F(RecoveryTest, CloseUnderTheLaterBoxBringsItForwardAndItsQuitAnswerKeepsEveryRow) {
    HWND later = SayNoAndWaitForLaterBox();
    ASSERT_NE(later, nullptr);
    monitor.PostCommand(ID_EXIT);
    EXPECT_EQ(monitor.WaitForWindow("Vantrel Monitor", 1000), nullptr);
    EXPECT_TRUE(IsWindowVisible(later));
    PostThreadMessageA(GetWindowThreadProcessId(monitor.Frame(), nullptr), WM_QUIT, 0, 0);
    EXPECT_TRUE(monitor.WaitForExit(5000));
    EXPECT_FALSE(monitor.IsTrayIconShown());
    EXPECT_EQ(RowNames(registry::kTransferTable), (std::vector<std::string>{"4", "9"}));
}

// Mended: an installer's request to close running programs was turned down: its update needed a
// restart of Windows. The program ends as a confirmed close does, whatever question is open.
TEST_F(RecoveryTest, AnInstallersRequestToCloseEndsTheProgramUnderTheQuestionAndKeepsEveryRow) {
    ASSERT_NE(StartAndWaitForQuestion(), nullptr);
    EXPECT_TRUE(monitor.EndSession(ENDSESSION_CLOSEAPP));
    EXPECT_TRUE(monitor.WaitForExit(5000));
    EXPECT_FALSE(monitor.IsTrayIconShown());
    EXPECT_EQ(RowNames(registry::kTransferTable), (std::vector<std::string>{"4", "9"}));
    EXPECT_TRUE(standIns.Starts("Rushload", 1, 1000).empty());
}

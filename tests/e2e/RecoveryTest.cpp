#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <regex>

#include "e2e/MonitorHarness.h"
#include "res/resource.h"

namespace {

constexpr char kQuestionTitle[] = "Vantrel - Rushload";
constexpr DWORD kCountdownMs = 10000;

const std::string kStartedLine = "Vantrel Monitor started.";
const std::string kResumingLine = "Resuming interrupted transfers.";

class RecoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        standIns.Reset();
        ResetRegistry(standIns.Folder());
        SeedTransferRow(9, 1);
        SeedTransferRow(5, 0);
        SeedTransferRow(4, 1);
    }

    // One downloader start per pending row, the last listed first.
    static std::vector<std::string> ResumeArguments(const std::vector<std::string>& rows) {
        std::vector<std::string> arguments;
        std::transform(rows.rbegin(), rows.rend(), std::back_inserter(arguments),
                       [](const std::string& row) { return "fdb://" + row; });
        return arguments;
    }

    HWND StartAndWaitForQuestion() {
        if (!monitor.Start()) {
            return nullptr;
        }
        return monitor.WaitForWindow(kQuestionTitle);
    }

    StandIns standIns;
    MonitorProcess monitor;
};

}  // namespace

TEST_F(RecoveryTest, StartupQuestionAnsweredYesResumesThePendingRowsLastListedFirst) {
    HWND question = StartAndWaitForQuestion();
    ASSERT_NE(question, nullptr);
    const std::vector<std::string> pending = TransferRowNames();
    EXPECT_EQ(pending, (std::vector<std::string>{"4", "9"}));
    EXPECT_EQ(ItemText(question, IDC_QUESTION_TEXT),
              "Interrupted transfer(s) detected.\nDo you want to resume them?");
    EXPECT_EQ(ItemText(question, IDOK), "Yes");
    EXPECT_EQ(ItemText(question, IDCANCEL), "No");

    ClickButton(question, IDOK);

    EXPECT_EQ(standIns.DownloaderStarts(2, 5000), ResumeArguments(pending));
    EXPECT_EQ(monitor.WaitForLogMessages(3),
              (std::vector<std::string>{kStartedLine, "", kResumingLine}));
    EXPECT_EQ(TransferRowNames(), pending);
}

TEST_F(RecoveryTest, UnansweredQuestionCountsDownAndChoosesYes) {
    HWND question = StartAndWaitForQuestion();
    ASSERT_NE(question, nullptr);
    const DWORD shown = GetTickCount();
    const std::regex countdownLine(R"(Auto-selecting "Yes" in \d+ second\(s\) \.\.\.)");
    EXPECT_TRUE(std::regex_match(ItemText(question, IDC_COUNTDOWN_LINE), countdownLine))
        << ItemText(question, IDC_COUNTDOWN_LINE);

    ASSERT_TRUE(WaitForWindowToClose(question, kCountdownMs + 5000));
    EXPECT_GE(GetTickCount() - shown, kCountdownMs - 3000);
    EXPECT_EQ(standIns.DownloaderStarts(2, 5000), ResumeArguments(TransferRowNames()));
    EXPECT_EQ(monitor.WaitForLogMessages(3),
              (std::vector<std::string>{kStartedLine, "", kResumingLine}));
}

TEST_F(RecoveryTest, NoThenNoToResumingLaterEmptiesTheTable) {
    HWND question = StartAndWaitForQuestion();
    ASSERT_NE(question, nullptr);
    ClickButton(question, IDCANCEL);
    ASSERT_TRUE(WaitForWindowToClose(question));
    HWND later = monitor.WaitForWindow(kQuestionTitle);
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(MessageBoxText(later), "Do you want to resume interrupted transfers later?");

    ClickButton(later, IDNO);

    EXPECT_TRUE(WaitUntil([] { return TransferRowNames().empty(); }));
    EXPECT_EQ(monitor.LogMessages(), (std::vector<std::string>{kStartedLine, ""}));
    EXPECT_TRUE(standIns.DownloaderStarts(1, 1000).empty());
}

TEST_F(RecoveryTest, NoQuestionWhileTheDownloaderRunsAndTheCommandResumesWithoutAsking) {
    std::optional<PresenceEvent> downloader;
    downloader.emplace("VANTRELRUSHLOADInstance");
    ASSERT_TRUE(monitor.Start());
    EXPECT_EQ(monitor.WaitForWindow(kQuestionTitle, 2000), nullptr);
    monitor.SendCommand(ID_RESUME_TRANSFERS);
    EXPECT_EQ(TransferRowNames(), (std::vector<std::string>{"4", "5", "9"}));
    EXPECT_EQ(monitor.LogMessages(), (std::vector<std::string>{kStartedLine, ""}));

    downloader.reset();
    monitor.PostCommand(ID_RESUME_TRANSFERS);

    EXPECT_EQ(monitor.WaitForLogMessages(3),
              (std::vector<std::string>{kStartedLine, "", kResumingLine}));
    const std::vector<std::string> pending = TransferRowNames();
    EXPECT_EQ(pending, (std::vector<std::string>{"4", "9"}));
    EXPECT_EQ(standIns.DownloaderStarts(2, 5000), ResumeArguments(pending));
    EXPECT_EQ(monitor.WaitForWindow(kQuestionTitle, 0), nullptr);
}

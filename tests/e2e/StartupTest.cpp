#include <gtest/gtest.h>

#include <regex>

#include "e2e/MonitorHarness.h"
#include "res/resource.h"

namespace {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        standIns.Reset();
        ResetRegistry(standIns.Folder());
        ASSERT_TRUE(monitor.Start());
    }

    // Answers the close confirmation and reports whether the process ended.
    bool CloseAnswering(int button) {
        monitor.PostCommand(ID_EXIT);
        HWND box = monitor.WaitForWindow("Vantrel Monitor");
        if (box == nullptr || box == monitor.Frame()) {
            return false;
        }
        ClickButton(box, button);
        return monitor.WaitForExit(5000);
    }

    StandIns standIns;
    MonitorProcess monitor;
};

}  // namespace

TEST_F(StartupTest, StartsHiddenInTheTrayWithOnlyTheStartLine) {
    EXPECT_FALSE(IsWindowVisible(monitor.Frame()));
    EXPECT_TRUE(monitor.IsTrayIconShown());
    const std::regex startLine(
        R"(\[ \d\d/\d\d/\d\d \d\d:\d\d:\d\d \]  Vantrel Monitor started\.\r\n\r\n)");
    EXPECT_TRUE(std::regex_match(monitor.LogText(), startLine)) << monitor.LogText();
}

TEST_F(StartupTest, ASecondCopyEndsAtOnceAndTheFirstRunsOn) {
    EXPECT_EQ(MonitorProcess::RunSecondCopy(15000), 0u);
    EXPECT_TRUE(monitor.IsRunning());
    EXPECT_EQ(FindWindowExA(nullptr, monitor.Frame(), "VantrelMonitorFrame", nullptr), nullptr);
}

TEST_F(StartupTest, CloseConfirmationCancelKeepsEverythingAndOkEndsTheProcess) {
    EXPECT_FALSE(CloseAnswering(IDCANCEL));
    EXPECT_TRUE(monitor.IsRunning());
    EXPECT_TRUE(monitor.IsTrayIconShown());
    EXPECT_EQ(monitor.LogMessages().size(), 2u);
    EXPECT_TRUE(CloseAnswering(IDOK));
}

TEST_F(StartupTest, OpenShowsTheWindowAndHideSendsItBack) {
    monitor.SendCommand(ID_OPEN);
    EXPECT_TRUE(IsWindowVisible(monitor.Frame()));
    EXPECT_FALSE(monitor.IsTrayIconShown());
    monitor.SendCommand(ID_HIDE);
    EXPECT_FALSE(IsWindowVisible(monitor.Frame()));
    EXPECT_TRUE(monitor.IsTrayIconShown());
}

TEST_F(StartupTest, TaskbarCreatedAddsTheIconAgain) {
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = monitor.Frame();
    icon.uID = 1;
    Shell_NotifyIconA(NIM_DELETE, &icon);  // what a restarting shell forgets
    ASSERT_FALSE(monitor.IsTrayIconShown());
    DWORD_PTR result = 0;
    SendMessageTimeoutA(monitor.Frame(), RegisterWindowMessageA("TaskbarCreated"), 0, 0,
                        SMTO_NORMAL, 5000, &result);
    EXPECT_TRUE(monitor.IsTrayIconShown());
}

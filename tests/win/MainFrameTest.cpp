#include "ui/CMainFrame.h"

#include <gtest/gtest.h>

#include "app/CMonitorApp.h"
#include "core/RegistryLayout.h"
#include "res/resource.h"
#include "shared/Fakes.h"

namespace {

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, registry::kUserRoot);
        ASSERT_TRUE(frame.Create(RECT{0, 0, 450, 300}));
        frame.Show(SW_SHOW);
    }
    void TearDown() override {
        if (frame.Exists()) {
            DestroyWindow(frame);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, registry::kUserRoot);
    }

    UINT MenuState(HMENU menu, int id) const { return GetMenuState(menu, id, MF_BYCOMMAND); }
    bool HasItem(HMENU menu, int id) const { return MenuState(menu, id) != 0xFFFFFFFF; }

    static void SeedPendingTransfer() {
        RegistrySettingsStore().WriteInt(std::string(registry::kTransferSection) + "\\3",
                                         registry::kVersionEntry, 1);
    }

    CMonitorApp app;
    CMainFrame frame{app};
};

}  // namespace

TEST_F(MainFrameTest, MenuBarStatesFollowTheClientTheMonitorAndPendingTransfers) {
    HMENU bar = GetMenu(frame);
    ASSERT_NE(bar, nullptr);
    frame.Send(WM_INITMENU, reinterpret_cast<WPARAM>(bar));
    EXPECT_FALSE(MenuState(bar, ID_START_CLIENT) & MF_GRAYED);
    EXPECT_TRUE(MenuState(bar, ID_RESUME_TRANSFERS) & MF_GRAYED);
    EXPECT_FALSE(MenuState(bar, ID_TOGGLE_URL_MONITOR) & MF_CHECKED);

    HANDLE client = CreateEventA(nullptr, FALSE, FALSE, "VANTRELInstance");
    SeedPendingTransfer();
    app.UrlMonitor().SetEnabled(true);
    frame.Send(WM_INITMENU, reinterpret_cast<WPARAM>(bar));
    EXPECT_TRUE(MenuState(bar, ID_START_CLIENT) & MF_GRAYED);
    EXPECT_FALSE(MenuState(bar, ID_RESUME_TRANSFERS) & MF_GRAYED);
    EXPECT_TRUE(MenuState(bar, ID_TOGGLE_URL_MONITOR) & MF_CHECKED);
    CloseHandle(client);
}

TEST_F(MainFrameTest, TrayMenuOffersOnlyWhatCanBeDone) {
    struct Case {
        bool clientRunning;
        bool pending;
        bool monitorEnabled;
    };
    for (const Case& state : {Case{false, false, false}, Case{true, true, true}}) {
        HANDLE client =
            state.clientRunning ? CreateEventA(nullptr, FALSE, FALSE, "VANTRELInstance") : nullptr;
        if (state.pending) {
            SeedPendingTransfer();
        }
        app.UrlMonitor().SetEnabled(state.monitorEnabled);
        HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_TRAY_MENU));
        HMENU popup = GetSubMenu(menu, 0);
        frame.PrepareTrayMenu(popup);

        EXPECT_EQ(HasItem(popup, ID_START_CLIENT), !state.clientRunning);
        if (!state.clientRunning) {
            EXPECT_FALSE(MenuState(popup, ID_START_CLIENT) & MF_GRAYED);
        }
        EXPECT_EQ(HasItem(popup, ID_RESUME_TRANSFERS), state.pending);
        EXPECT_EQ(HasItem(popup, ID_ENABLE_URL_MONITOR), !state.monitorEnabled);
        EXPECT_EQ(HasItem(popup, ID_DISABLE_URL_MONITOR), state.monitorEnabled);
        EXPECT_EQ(GetMenuDefaultItem(popup, FALSE, 0), static_cast<UINT>(ID_OPEN));
        EXPECT_TRUE(HasItem(popup, ID_EXIT));
        DestroyMenu(menu);
        if (client != nullptr) {
            CloseHandle(client);
        }
    }
}

TEST_F(MainFrameTest, MinimiseGoesToTheTrayAndOpenComesBack) {
    frame.Send(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsWindowVisible(frame));
    EXPECT_TRUE(frame.IsInTray());
    EXPECT_TRUE(frame.IsIconShown());

    frame.Send(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(frame.IsInTray());
    EXPECT_TRUE(frame.IsIconShown()) << "only Open removes the icon";

    frame.Send(WM_COMMAND, ID_HIDE, 0);
    frame.Send(WM_COMMAND, ID_OPEN, 0);
    EXPECT_TRUE(IsWindowVisible(frame));
    EXPECT_FALSE(frame.IsInTray());
    EXPECT_FALSE(frame.IsIconShown());
}

TEST_F(MainFrameTest, TaskbarCreatedAddsTheIconAgainOnlyWhileInTheTray) {
    frame.Send(WM_COMMAND, ID_HIDE, 0);
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = frame;
    icon.uID = 1;
    Shell_NotifyIconA(NIM_DELETE, &icon);
    frame.Send(CMainFrame::TaskbarCreatedMessage());
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &icon));

    frame.Send(WM_COMMAND, ID_OPEN, 0);
    frame.Send(CMainFrame::TaskbarCreatedMessage());
    EXPECT_FALSE(frame.IsIconShown());
}

TEST_F(MainFrameTest, DestroyDisablesBothWorkersInOrderAndRemovesTheIcon) {
    RecordingLog log;
    app.UrlMonitor().Attach(log);
    app.Scheduler().Attach(log);
    app.UrlMonitor().StartTimer(frame);
    app.Scheduler().StartTimer(frame);
    frame.Send(WM_COMMAND, ID_HIDE, 0);

    DestroyWindow(frame);
    EXPECT_EQ(log.lines, (std::vector<LoggedLine>{{"URL Monitor Disabled.", kNavy},
                                                  {"Transfer Scheduler Disabled.", kNavy}}));
    EXPECT_FALSE(app.UrlMonitor().IsEnabled());
    EXPECT_FALSE(app.Scheduler().IsEnabled());
    EXPECT_FALSE(frame.IsIconShown());
}

TEST_F(MainFrameTest, MonitorCommandsWriteTheirLinesEvenWhenRepeated) {
    RecordingLog log;
    app.UrlMonitor().Attach(log);
    frame.Send(WM_COMMAND, ID_ENABLE_URL_MONITOR, 0);
    frame.Send(WM_COMMAND, ID_ENABLE_URL_MONITOR, 0);
    frame.Send(WM_COMMAND, ID_DISABLE_URL_MONITOR, 0);
    EXPECT_EQ(log.lines, (std::vector<LoggedLine>{{"URL Monitor Enabled.", kNavy},
                                                  {"URL Monitor Enabled.", kNavy},
                                                  {"URL Monitor Disabled.", kNavy}}));
}

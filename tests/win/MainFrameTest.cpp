#include "ui/CMainFrame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <tuple>

#include "DialogDriver.h"
#include "app/CMonitorApp.h"
#include "core/RegistryLayout.h"
#include "res/resource.h"
#include "shared/Fakes.h"
#include "win/Dialog.h"

namespace {

constexpr UINT kAbsent = 0xFFFFFFFF;

RECT WindowRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// Within the pixel that halving loses.
bool IsCentredOn(const RECT& rect, const RECT& on) {
    return std::abs(rect.left + rect.right - on.left - on.right) <= 1 &&
           std::abs(rect.top + rect.bottom - on.top - on.bottom) <= 1;
}

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(frame.Create(RECT{0, 0, 450, 300})); }
    static UINT State(HMENU menu, int id) { return GetMenuState(menu, id, MF_BYCOMMAND); }
    void TearDown() override {
        DestroyWindow(frame);
        CloseHandle(client);
        RegDeleteTreeA(HKEY_CURRENT_USER, registry::kUserRoot);
    }

    CMonitorApp app;
    CMainFrame frame{app};
    HANDLE client = nullptr;
};

}  // namespace

// Either the client runs, a transfer is pending and the URL monitor is on, or none of them; or a
// transfer is pending while the resume question is open.
// Mended: the resume command was offered while the resume question was open.
TEST_F(MainFrameTest, MenusOfferOnlyWhatCanBeDone) {
    enum { kIdle, kAsking, kBusy };
    for (const int state : {kIdle, kAsking, kBusy}) {
        const bool busy = state == kBusy;
        if (state == kAsking) {
            RegistrySettingsStore().WriteInt(std::string(registry::kTransferSection) + "\\3",
                                             registry::kVersionEntry, 1);
        }
        if (busy) {
            client = CreateEventA(nullptr, FALSE, FALSE, "VANTRELInstance");
        }
        std::optional<ModalState::Scope> asking;
        if (state == kAsking) {
            asking.emplace(app.Modals(), ModalKind::Resume);
        }
        app.UrlMonitor().SetEnabled(busy);
        HMENU bar = GetMenu(frame);
        frame.Send(WM_INITMENU, reinterpret_cast<WPARAM>(bar));
        EXPECT_EQ(State(bar, ID_START_CLIENT) & MF_GRAYED, busy ? MF_GRAYED : 0u);
        EXPECT_EQ(State(bar, ID_RESUME_TRANSFERS) & MF_GRAYED, busy ? 0u : MF_GRAYED);
        EXPECT_EQ(State(bar, ID_TOGGLE_URL_MONITOR) & MF_CHECKED, busy ? MF_CHECKED : 0u);

        HMENU tray = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_TRAY_MENU));
        frame.PrepareTrayMenu(GetSubMenu(tray, 0));
        EXPECT_EQ(State(tray, ID_START_CLIENT), busy ? kAbsent : MF_ENABLED);
        EXPECT_EQ(State(tray, ID_RESUME_TRANSFERS),
                  state == kIdle ? kAbsent : (busy ? MF_ENABLED : MF_GRAYED));
        EXPECT_EQ(State(tray, ID_ENABLE_URL_MONITOR) != kAbsent, !busy);
        EXPECT_EQ(State(tray, ID_DISABLE_URL_MONITOR) != kAbsent, busy);
        EXPECT_EQ(GetMenuDefaultItem(GetSubMenu(tray, 0), FALSE, 0), static_cast<UINT>(ID_OPEN));
        DestroyMenu(tray);
    }
}

// Mended: a restarted desktop shell has forgotten every icon; the monitor adds its own again. The
// window kept the keyboard focus that its log needs.
TEST_F(MainFrameTest, MinimiseGoesToTheTrayOnlyOpenRemovesTheIconAndTaskbarCreatedReAddsIt) {
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = frame;
    icon.uID = 1;
    frame.Send(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(!IsWindowVisible(frame) && frame.IsInTray() && frame.IsIconShown());
    Shell_NotifyIconA(NIM_DELETE, &icon);
    frame.Send(CMainFrame::TaskbarCreatedMessage());
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &icon));
    frame.Send(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(!frame.IsInTray() && frame.IsIconShown());
    frame.Send(WM_COMMAND, ID_OPEN, 0);
    EXPECT_TRUE(IsWindowVisible(frame) && !frame.IsInTray() && !frame.IsIconShown());
    EXPECT_EQ(GetFocus(), frame.Log().Handle());  // arrow and page keys scroll the log
    frame.Send(CMainFrame::TaskbarCreatedMessage());
    EXPECT_FALSE(frame.IsIconShown());
}

TEST_F(MainFrameTest, DestroyDisablesBothWorkersInOrderAndRemovesTheIcon) {
    RecordingLog log;
    app.UrlMonitor().Attach(log);
    app.Scheduler().Attach(log);
    frame.Send(WM_COMMAND, ID_HIDE, 0);
    DestroyWindow(frame);
    EXPECT_EQ(log.lines, (std::vector<LoggedLine>{{"URL Monitor Disabled.", kNavy},
                                                  {"Transfer Scheduler Disabled.", kNavy}}));
    EXPECT_FALSE(frame.IsIconShown());
}

// Mended: the runtime reads the time zone once; a zone changed later kept stamps and due times in
// the old one until the program restarted.
TEST_F(MainFrameTest, TimeChangeMakesTimesFollowTheNewZone) {
    const Time32 newYear1971 = 365 * 86400;
    _putenv("TZ=UTC");
    _tzset();
    _putenv("TZ=EST5EDT");
    EXPECT_EQ(FormatTime(newYear1971), "01/01/71 00:00:00");
    frame.Send(WM_TIMECHANGE);
    EXPECT_EQ(FormatTime(newYear1971), "12/31/70 19:00:00");
    _putenv("TZ=UTC");
    _tzset();
}

// Mended: a quit message during start-up ended the program with its window, and its icon, still
// there, the window pointing at the frame object that was about to go.
TEST(MonitorApp, ExitEndsTheWindowBeforeTheFrameGoes) {
    RegDeleteTreeA(HKEY_CURRENT_USER, registry::kUserRoot);  // no question at start-up
    CMonitorApp app;
    ASSERT_TRUE(app.InitInstance());
    const HWND frame = *app.MainFrame();
    PostQuitMessage(0);
    EXPECT_EQ(app.ExitInstance(app.Run()), 0);
    EXPECT_FALSE(IsWindow(frame));
    MSG quit{};  // the one its end posts, which would end every later test's dialog at once
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

// The main window, shown at the point, hidden or minimised, owns a dialog; it stands centred on
// the shown owner, or on the work area, and moved back inside the work area's far or near edges.
// Mended: every dialog opened at its owner's top-left corner, or the screen's.
TEST_F(MainFrameTest, DialogOpensCentredOnItsShownOwnerElseOnTheWorkAreaAndInsideIt) {
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    enum Stands { kOnOwner, kOnWorkArea, kAtFarEdges, kAtNearEdges };
    const std::tuple<POINT, int, Stands> cases[] = {
        {{100, 100}, SW_SHOWNOACTIVATE, kOnOwner},
        {{100, 100}, SW_HIDE, kOnWorkArea},
        {{area.right - 100, area.bottom - 50}, SW_SHOWNOACTIVATE, kAtFarEdges},
        {{area.left - 400, area.top - 280}, SW_SHOWNOACTIVATE, kAtNearEdges},
        {{100, 100}, SW_SHOWMINNOACTIVE, kOnWorkArea}};
    for (const auto& [at, show, stands] : cases) {
        SetWindowPos(frame, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        const RECT owner = WindowRectOf(frame);
        frame.Show(show);
        Dialog dialog(IDD_QUEUE_TRANSFERS);
        WithScript([&] { return dialog.Handle(); },
                   [&, stands = stands](Window shown) {
                       const RECT placed = WindowRectOf(shown);
                       EXPECT_EQ(DefaultDialogOwner(frame), shown.Handle());
                       EXPECT_EQ(GetWindow(shown, GW_OWNER), frame.Handle());
                       EXPECT_TRUE(stands != kOnOwner || IsCentredOn(placed, owner)) << stands;
                       EXPECT_TRUE(stands != kOnWorkArea || IsCentredOn(placed, area)) << stands;
                       EXPECT_TRUE(stands != kAtFarEdges ||
                                   (placed.right == area.right && placed.bottom == area.bottom));
                       EXPECT_TRUE(stands != kAtNearEdges ||
                                   (placed.left == area.left && placed.top == area.top));
                   },
                   [&] { return dialog.DoModal(DefaultDialogOwner(frame)); });
    }
}

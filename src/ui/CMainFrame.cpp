#include "ui/CMainFrame.h"

#include <ctime>

#include "app/CMonitorApp.h"
#include "core/Colours.h"
#include "dialogs/CQueueTransfersDialog.h"
#include "res/resource.h"
#include "scheduler/QueueCheck.h"
#include "scheduler/QueueSchedules.h"
#include "win/InnermostDialog.h"
#include "win/ModalAnswer.h"

namespace {

constexpr char kWindowClass[] = "VantrelMonitorFrame";
constexpr char kTitle[] = "Vantrel Monitor";
constexpr char kStartedLine[] = "Vantrel Monitor started.\r\n";
constexpr char kCloseQuestion[] =
    "If you close Vantrel Monitor scheduled transfers will not be executed.";
constexpr char kTrayTip[] = "Vantrel Monitor";
constexpr UINT kTrayMenuFlags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON;
constexpr UINT kModalFlashes = 3;

HINSTANCE Module() {
    return GetModuleHandleA(nullptr);
}

}  // namespace

UINT CMainFrame::TrayMessage() {
    static const UINT message = RegisterWindowMessageA("NIconMessage");
    return message;
}

UINT CMainFrame::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

CMainFrame::CMainFrame(CMonitorApp& app) : app_(app), log_(app.GetClock()) {}

bool CMainFrame::Create(const RECT& rect) {
    return CustomWindow::Create(kWindowClass, "",
                                WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, rect,
                                nullptr, nullptr);
}

bool CMainFrame::StartTimer(uintptr_t id, unsigned periodMs) {
    return SetTimer(hwnd_, id, periodMs, nullptr) != 0;
}

bool CMainFrame::StopTimer(uintptr_t id) {
    return KillTimer(hwnd_, id) != FALSE;
}

LRESULT CMainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate();
        case WM_SIZE:
            OnSize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_SETFOCUS:
            OnSetFocus();
            return 0;
        case WM_SYSCOMMAND:
            return OnSysCommand(wParam, lParam);
        case WM_TIMER:
            return OnTimer(wParam, lParam);
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_ENDSESSION:
            if (wParam != FALSE) {
                app_.EndSession();
            }
            return 0;
        case WM_TIMECHANGE:
            OnTimeChange();
            return 0;
        case WM_INITMENU:
            OnInitMenu(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_CONTEXTMENU:
            OnContextMenu();
            return 0;
        case WM_COMMAND:
            if (lParam == 0 && OnCommand(LOWORD(wParam))) {
                return 0;
            }
            break;
        default:
            if (message == TrayMessage()) {
                return OnTrayNotify(lParam);
            }
            if (message == TaskbarCreatedMessage()) {
                OnTaskbarCreated();
                return 0;
            }
            break;
    }
    return Default(message, wParam, lParam);
}

bool CMainFrame::OnCommand(int id) {
    switch (id) {
        case ID_EXIT:
            OnClose();
            return true;
        case ID_START_CLIENT:
            OnStartClient();
            return true;
        case ID_ENABLE_URL_MONITOR:
            app_.UrlMonitor().SetEnabled(true);
            return true;
        case ID_DISABLE_URL_MONITOR:
            app_.UrlMonitor().SetEnabled(false);
            return true;
        case ID_OPEN:
            OnOpen();
            return true;
        case ID_TOGGLE_URL_MONITOR:
            OnToggleUrlMonitor();
            return true;
        case ID_HIDE:
            OnHide();
            return true;
        case ID_QUEUE_TRANSFERS:
            OnQueueTransfers();
            return true;
        case ID_RESUME_TRANSFERS:
            OnResumeTransfers();
            return true;
        default:
            return false;
    }
}

LRESULT CMainFrame::OnCreate() {
    HANDLE smallIcon =
        LoadImageA(Module(), MAKEINTRESOURCEA(IDI_WINDOW), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    SetText(kTitle);
    SetMenu(hwnd_, LoadMenuA(Module(), MAKEINTRESOURCEA(IDM_MAIN_MENU)));
    // Run elevated (an installer may start it so), the program would not hear from a restarted
    // shell, which runs at a lower integrity level, and its icon would stay lost.
    ChangeWindowMessageFilterEx(hwnd_, TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);

    // Without its log the program still schedules, watches and resumes: every line it would
    // write is dropped, as for a log whose window has gone.
    RECT client{};
    GetClientRect(hwnd_, &client);
    log_.Create(hwnd_, client);
    log_.Append(kStartedLine, kNavy);
    return 0;
}

// The framework's frame passed its focus on to its view: arrow and page keys scroll the log
// whenever the window is shown or activated.
void CMainFrame::OnSetFocus() {
    if (log_.Exists()) {
        SetFocus(log_);
    }
}

void CMainFrame::OnSize(int width, int height) {
    if (log_.Exists()) {
        log_.Fill(width, height);
    }
}

LRESULT CMainFrame::OnSysCommand(WPARAM command, LPARAM position) {
    const bool wasMinimized = minimized_;
    // The whole command is compared, low four bits included, as the tray rules were written.
    if (command == SC_MINIMIZE) {
        minimized_ = true;
    } else if (command == SC_RESTORE) {
        minimized_ = false;
    }
    // A window already hidden (the Hide command, so every start-up) goes to the tray without being
    // minimised first: Windows would show it minimised for a moment, a flash at every start that
    // cost start-up a tenth of its time. Open shows it the same either way.
    const bool alreadyHidden = command == SC_MINIMIZE && !IsWindowVisible(hwnd_);
    const LRESULT result = alreadyHidden ? 0 : Default(WM_SYSCOMMAND, command, position);
    if (command == SC_MINIMIZE && !wasMinimized) {
        Show(SW_HIDE);
        AddTrayIcon();
    }
    return result;
}

LRESULT CMainFrame::OnTimer(WPARAM id, LPARAM lParam) {
    if (id == kUrlMonitorTimer) {
        app_.UrlMonitor().OnTimerTick();
        return 0;
    }
    if (id == kSchedulerTimer) {
        app_.Scheduler().OnTimerTick();
        return 0;
    }
    if (id == kTrayRetryTimer) {
        trayIcon_.OnRetryTimer();
        return 0;
    }
    return Default(WM_TIMER, id, lParam);
}

void CMainFrame::OnClose() {
    const auto confirm = [this] {
        // A box that could not be shown, or one under a quit (the program ends anyway), closes.
        return AskMessageBox(hwnd_, kCloseQuestion, kTitle, MB_OKCANCEL | MB_ICONQUESTION) !=
               IDCANCEL;
    };
    switch (RequestClose(app_.Modals(), confirm)) {
        case CloseRequest::BringModalToFront:
            BringModalToFront();
            break;
        case CloseRequest::Close:
            DestroyWindow(hwnd_);
            break;
        case CloseRequest::Stay:
            break;
    }
}

void CMainFrame::OnDestroy() {
    app_.UrlMonitor().SetEnabled(false);
    app_.Scheduler().SetEnabled(false);
    app_.UrlMonitor().StopTimer(*this);
    app_.Scheduler().StopTimer(*this);
    RemoveTrayIcon();
    app_.OnMainFrameDestroyed(*this);
}

void CMainFrame::OnInitMenu(HMENU menu) {
    CheckMenuItem(menu, ID_TOGGLE_URL_MONITOR,
                  MF_BYCOMMAND | (app_.UrlMonitor().IsEnabled() ? MF_CHECKED : MF_UNCHECKED));
    const bool canResume = !app_.IsResuming() && app_.HasPendingTransfers();
    EnableMenuItem(menu, ID_RESUME_TRANSFERS, MF_BYCOMMAND | (canResume ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, ID_START_CLIENT,
                   MF_BYCOMMAND | (app_.Launcher().IsClientRunning() ? MF_GRAYED : MF_ENABLED));
}

void CMainFrame::OnContextMenu() {
    if (minimized_) {
        ShowTrayMenu();
    }
}

LRESULT CMainFrame::OnTrayNotify(LPARAM mouseMessage) {
    switch (LOWORD(mouseMessage)) {
        case WM_LBUTTONDBLCLK:
            OnOpen();
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd_), 0);
            break;
        default:
            break;
    }
    return 0;
}

// The C runtime reads the time zone once; a changed zone or daylight-saving rule would otherwise
// leave stamps and due times in the old one until the program restarts.
void CMainFrame::OnTimeChange() {
    _tzset();
}

// A restarted desktop shell has forgotten every icon; without this a hidden monitor would be
// unreachable.
void CMainFrame::OnTaskbarCreated() {
    if (minimized_) {
        trayIcon_.Forget();
        AddTrayIcon();
    }
}

void CMainFrame::OnStartClient() {
    app_.Launcher().RunClient();
}

void CMainFrame::OnOpen() {
    minimized_ = false;
    Show(SW_RESTORE);
    BringWindowToTop(hwnd_);
    RemoveTrayIcon();
    SetFocus(hwnd_);
}

void CMainFrame::OnHide() {
    Show(SW_HIDE);
    Send(WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CMainFrame::OnToggleUrlMonitor() {
    CUrlMonitor& monitor = app_.UrlMonitor();
    monitor.SetEnabled(!monitor.IsEnabled());
    if (const auto line = QueueCheckLine(app_.Settings(), app_.Files(), app_.GetClock())) {
        log_.Append(*line, kBlue);
    }
}

// One question at a time: a second list over an open editor or question could write a row the
// open one is about to write too.
void CMainFrame::OnQueueTransfers() {
    if (app_.Modals().IsAnyOpen()) {
        BringModalToFront();
        return;
    }
    QueueSchedules schedules(app_.Settings(), app_.Files(), app_.Launcher(), app_.GetClock(),
                             app_.Modals());
    CQueueTransfersDialog dialog(schedules);
    app_.Modals().Run(ModalKind::QueueTransfers, [&] { return dialog.DoModal(hwnd_); });
}

// Greyed in the menus while a resume question is open; a command posted anyway does nothing.
void CMainFrame::OnResumeTransfers() {
    if (app_.HasPendingTransfers()) {
        app_.ResumeInterruptedTransfers(false);
    }
}

void CMainFrame::PrepareTrayMenu(HMENU popup) {
    if (app_.Launcher().IsClientRunning()) {
        EnableMenuItem(popup, ID_START_CLIENT, MF_BYCOMMAND | MF_GRAYED);
        DeleteMenu(popup, ID_START_CLIENT, MF_BYCOMMAND);
    } else {
        EnableMenuItem(popup, ID_START_CLIENT, MF_BYCOMMAND | MF_ENABLED);
    }
    if (!app_.HasPendingTransfers()) {
        DeleteMenu(popup, ID_RESUME_TRANSFERS, MF_BYCOMMAND);
    } else if (app_.IsResuming()) {
        EnableMenuItem(popup, ID_RESUME_TRANSFERS, MF_BYCOMMAND | MF_GRAYED);
    }
    SetMenuDefaultItem(popup, ID_OPEN, FALSE);
    DeleteMenu(popup,
               app_.UrlMonitor().IsEnabled() ? ID_ENABLE_URL_MONITOR : ID_DISABLE_URL_MONITOR,
               MF_BYCOMMAND);
}

void CMainFrame::ShowTrayMenu() {
    HMENU menu = LoadMenuA(Module(), MAKEINTRESOURCEA(IDM_TRAY_MENU));
    if (menu == nullptr) {
        return;
    }
    HMENU popup = GetSubMenu(menu, 0);
    PrepareTrayMenu(popup);
    POINT cursor{};
    GetCursorPos(&cursor);
    SetForegroundWindow(hwnd_);
    TrackPopupMenu(popup, kTrayMenuFlags, cursor.x, cursor.y, 0, hwnd_, nullptr);
    // Without a message after tracking, the menu would not close when the user clicks elsewhere.
    Post(WM_NULL, 0, 0);
    DestroyMenu(menu);
}

// Brought forward and flashed, as Windows does when the user clicks a window that a modal
// dialog has disabled.
void CMainFrame::BringModalToFront() const {
    HWND modal = InnermostDialog(GetCurrentThreadId());
    if (modal == nullptr) {
        return;
    }
    SetForegroundWindow(modal);
    FLASHWINFO flash{sizeof flash, modal, FLASHW_CAPTION, kModalFlashes, 0};
    FlashWindowEx(&flash);
}

void CMainFrame::AddTrayIcon() {
    trayIcon_.Add(hwnd_, TrayMessage(),
                  static_cast<HICON>(LoadImageA(Module(), MAKEINTRESOURCEA(IDI_TRAY), IMAGE_ICON,
                                                16, 16, LR_SHARED)),
                  kTrayTip);
}

void CMainFrame::RemoveTrayIcon() {
    trayIcon_.Remove();
}

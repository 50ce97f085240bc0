#include "win/Dialog.h"

#include <commctrl.h>

#include <optional>

#include "core/WindowPlacement.h"
#include "win/DataExchange.h"
#include "win/ModalAnswer.h"

namespace {

struct Placement {
    RECT centre;
    RECT area;
};

WindowRect ToWindowRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

std::optional<RECT> WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) {
        return std::nullopt;
    }
    return info.rcWork;
}

// The main window is the root of every owner chain here; with no owner, the primary monitor.
HMONITOR MonitorOfMainWindow(HWND owner) {
    const HWND mainWindow = owner == nullptr ? nullptr : GetAncestor(owner, GA_ROOTOWNER);
    if (mainWindow == nullptr) {
        return MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    }
    return MonitorFromWindow(mainWindow, MONITOR_DEFAULTTOPRIMARY);
}

// On the owner while the user can see it; a hidden or minimised owner would put the dialog in the
// corner of the screen or off it, so then on the work area of the main window's monitor.
std::optional<Placement> PlacementFor(HWND owner) {
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
        RECT rect{};
        const std::optional<RECT> area =
            WorkAreaOf(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST));
        if (!area || !GetWindowRect(owner, &rect)) {
            return std::nullopt;
        }
        return Placement{rect, *area};
    }
    const std::optional<RECT> area = WorkAreaOf(MonitorOfMainWindow(owner));
    if (!area) {
        return std::nullopt;
    }
    return Placement{*area, *area};
}

RECT WindowRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// The editor's date pickers and up-down control are common controls, registered when the first
// dialog opens rather than at start-up, which then does without the library. It is loaded by its
// name: the manifest makes Windows take version 6 from its side-by-side store, which a load from
// the system folder would miss. (Message boxes and standard controls load it through the manifest
// by themselves.)
void RegisterCommonControls() {
    using Register = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX* controls);
    static const bool registered = [] {
        const HMODULE library = LoadLibraryA("comctl32.dll");
        const auto doRegister = library == nullptr
                                    ? nullptr
                                    : reinterpret_cast<Register>(reinterpret_cast<void*>(
                                          GetProcAddress(library, "InitCommonControlsEx")));
        const INITCOMMONCONTROLSEX controls{
            sizeof controls, ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_UPDOWN_CLASS};
        return doRegister != nullptr && doRegister(&controls) != FALSE;
    }();
    static_cast<void>(registered);
}

}  // namespace

HWND DefaultDialogOwner(HWND mainWindow) {
    return mainWindow == nullptr ? nullptr : GetLastActivePopup(mainWindow);
}

// A dialog ended by the quit message holds whatever result it had (Wine's is IDOK).
INT_PTR Dialog::DoModal(HWND owner) {
    RegisterCommonControls();
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_),
                                           owner, DialogProc, reinterpret_cast<LPARAM>(this));
    return IsQuitPending() ? 0 : result;
}

bool Dialog::UpdateData(bool save) {
    DataExchange exchange(hwnd_, save);
    return DoDataExchange(exchange);
}

bool Dialog::DoDataExchange(DataExchange&) {
    return true;
}

bool Dialog::OnCommand(int, int, HWND) {
    return false;
}

bool Dialog::OnNotify(int, NMHDR*, LRESULT&) {
    return false;
}

bool Dialog::OnTimer(UINT_PTR) {
    return false;
}

HBRUSH Dialog::OnCtlColor(HDC, HWND, UINT) {
    return nullptr;
}

void Dialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void Dialog::EndDialog(INT_PTR result) const {
    ::EndDialog(hwnd_, result);
}

INT_PTR Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (OnCommand(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam))) {
                return TRUE;
            }
            if (id == IDOK) {
                OnOK();
                return TRUE;
            }
            if (id == IDCANCEL) {
                OnCancel();
                return TRUE;
            }
            return FALSE;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            LRESULT result = 0;
            if (!OnNotify(static_cast<int>(header->idFrom), header, result)) {
                return FALSE;
            }
            SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
        }
        case WM_TIMER:
            return OnTimer(wParam) ? TRUE : FALSE;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORDLG:
            // The one documented case where a dialog procedure returns something other than TRUE
            // or FALSE: the brush itself.
            return reinterpret_cast<INT_PTR>(
                OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message));
        default:
            return FALSE;
    }
}

// A dialog that has not placed itself in OnInit is centred, as the framework's dialogs were: the
// template alone opens it at its owner's top-left corner, or the screen's when there is none.
BOOL Dialog::OnInitDialog() {
    UpdateData(false);
    const RECT before = WindowRectOf(hwnd_);
    const BOOL result = OnInit();
    const RECT after = WindowRectOf(hwnd_);
    if (EqualRect(&before, &after)) {
        CentreOnOwner();
    }
    return result;
}

// A failed query leaves the dialog where the template put it.
void Dialog::CentreOnOwner() const {
    const std::optional<Placement> placement = PlacementFor(GetWindow(hwnd_, GW_OWNER));
    RECT self{};
    if (!placement || !GetWindowRect(hwnd_, &self)) {
        return;
    }
    const WindowRect placed =
        CentredDialogRect(ToWindowRect(placement->centre), ToWindowRect(placement->area),
                          self.right - self.left, self.bottom - self.top);
    SetWindowPos(hwnd_, nullptr, placed.left, placed.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, lParam);
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return FALSE;  // messages sent before WM_INITDIALOG, such as WM_SETFONT
    }
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        // An exception must not unwind through the dialog manager's frames.
        return FALSE;
    }
}

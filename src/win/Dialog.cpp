#include "win/Dialog.h"

#include "win/DataExchange.h"

// A modal loop that meets the quit message posts it again and ends the dialog with whatever
// result it holds (Wine's is IDOK): that is no answer, and reads as none.
INT_PTR Dialog::DoModal(HWND owner) {
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_),
                                           owner, DialogProc, reinterpret_cast<LPARAM>(this));
    MSG quit{};
    return PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) ? 0 : result;
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
            UpdateData(false);
            return OnInit();
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

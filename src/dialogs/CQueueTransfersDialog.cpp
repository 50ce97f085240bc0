#include "dialogs/CQueueTransfersDialog.h"

#include <algorithm>
#include <vector>

#include "core/Colours.h"
#include "dialogs/CScheduleTransferDialog.h"
#include "win/ModalAnswer.h"

namespace {

// The queue list shares the activity log's light grey.
constexpr COLORREF kListBackground = kLogBackground;
constexpr COLORREF kListText = kNavy;

constexpr char kRemoveCaption[] = "Remove";
constexpr char kDialogTitle[] = "Queue Transfers";
constexpr char kWhileEdited[] = "while it was being edited";
constexpr char kWhileRemovalConfirmed[] = "while its removal was being confirmed";

std::string RemoveQuestion(const std::string& queueName) {
    return "Remove:\n" + queueName + "\nfrom Queue Transfer Scheduler ?";
}

std::string ChangedMeanwhileText(const std::string& queueName, const char* whileWhat) {
    return "The schedule of\n" + queueName + "\nchanged " + whileWhat +
           " and was left as it is now.";
}

std::string EntryText(const Window& list, LRESULT index) {
    const LRESULT length = list.Send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length <= 0) {
        return {};
    }
    std::vector<char> text(static_cast<size_t>(length) + 1);
    const LRESULT copied =
        list.Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return copied > 0 ? std::string(text.data(), static_cast<size_t>(copied)) : std::string();
}

}  // namespace

CQueueTransfersDialog::CQueueTransfersDialog(QueueSchedules& schedules)
    : Dialog(IDD), schedules_(schedules), backgroundBrush_(CreateSolidBrush(kListBackground)) {}

CQueueTransfersDialog::~CQueueTransfersDialog() {
    DeleteObject(backgroundBrush_);
}

BOOL CQueueTransfersDialog::OnInit() {
    FillList();
    return TRUE;
}

bool CQueueTransfersDialog::OnCommand(int id, int code, HWND) {
    if (id == IDC_QUEUE_LIST && code == LBN_SELCHANGE) {
        OnSelChangeList();
        return true;
    }
    if (code != BN_CLICKED) {
        return false;
    }
    switch (id) {
        case IDC_EDIT_SCHEDULE:
            OnEdit();
            return true;
        case IDC_REMOVE_SCHEDULE:
            OnRemove();
            return true;
        default:
            return false;
    }
}

HBRUSH CQueueTransfersDialog::OnCtlColor(HDC dc, HWND control, UINT message) {
    if (message != WM_CTLCOLORLISTBOX) {
        return Dialog::OnCtlColor(dc, control, message);
    }
    SetBkColor(dc, kListBackground);
    SetTextColor(dc, kListText);
    return backgroundBrush_;
}

// The list box sorts the names itself. A refill drops the selection but leaves the buttons as
// they are: a click with nothing selected does nothing.
void CQueueTransfersDialog::FillList() {
    Window list(GetItem(IDC_QUEUE_LIST));
    list.Send(WM_SETREDRAW, FALSE);
    list.Send(LB_RESETCONTENT);
    for (const std::string& name : schedules_.List()) {
        list.Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    WidenForLongestName();
    list.Send(WM_SETREDRAW, TRUE);
    InvalidateRect(list, nullptr, TRUE);
}

// A list box shows its horizontal scroll bar only for the width it is told.
void CQueueTransfersDialog::WidenForLongestName() const {
    Window list(GetItem(IDC_QUEUE_LIST));
    const HDC dc = GetDC(list);
    if (dc == nullptr) {
        return;
    }
    const HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(list.Send(WM_GETFONT)));
    LONG widest = 0;
    const LRESULT count = list.Send(LB_GETCOUNT);
    for (LRESULT index = 0; index < count; ++index) {
        const std::string text = EntryText(list, index);
        SIZE size{};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        widest = std::max(widest, size.cx);
    }
    SelectObject(dc, oldFont);
    ReleaseDC(list, dc);
    const LONG extent = widest + GetSystemMetrics(SM_CXEDGE) * 2;
    list.Send(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent));
}

std::string CQueueTransfersDialog::GetSelectedQueueName() const {
    Window list(GetItem(IDC_QUEUE_LIST));
    const LRESULT selection = list.Send(LB_GETCURSEL);
    return selection == LB_ERR ? std::string() : EntryText(list, selection);
}

void CQueueTransfersDialog::OnSelChangeList() {
    const bool selected = SendItem(IDC_QUEUE_LIST, LB_GETCURSEL) != LB_ERR;
    EnableItem(IDC_EDIT_SCHEDULE, selected);
    EnableItem(IDC_REMOVE_SCHEDULE, selected);
}

// The scheduler's tick runs inside this modal loop and may have deleted the row since the list
// was filled, so the row is looked up again by its name.
void CQueueTransfersDialog::OnEdit() {
    const std::string name = GetSelectedQueueName();
    if (name.empty()) {
        return;
    }
    CScheduleTransferDialog editor(hwnd_);
    switch (schedules_.Edit(name, editor)) {
        case QueueChange::ChangedMeanwhile:
            ReportChangedMeanwhile(name, kWhileEdited);
            break;
        case QueueChange::RowGone:
        case QueueChange::Deleted:
            FillList();
            break;
        case QueueChange::Cancelled:
        case QueueChange::Rewritten:
            break;
    }
}

// A row that has gone leaves its stale entry in the list; the next Edit refills it.
void CQueueTransfersDialog::OnRemove() {
    const std::string name = GetSelectedQueueName();
    if (name.empty()) {
        return;
    }
    const auto confirm = [&] {
        return AskMessageBox(hwnd_, RemoveQuestion(name), kRemoveCaption,
                             MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
    };
    switch (schedules_.Remove(name, confirm)) {
        case QueueChange::ChangedMeanwhile:
            ReportChangedMeanwhile(name, kWhileRemovalConfirmed);
            break;
        case QueueChange::Deleted:
            FillList();
            break;
        case QueueChange::RowGone:
        case QueueChange::Cancelled:
        case QueueChange::Rewritten:
            break;
    }
}

void CQueueTransfersDialog::ReportChangedMeanwhile(const std::string& queueName,
                                                   const char* whileWhat) {
    FillList();
    AskMessageBox(hwnd_, ChangedMeanwhileText(queueName, whileWhat), kDialogTitle,
                  MB_OK | MB_ICONINFORMATION);
}

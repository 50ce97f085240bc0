#include "dialogs/CScheduleTransferDialog.h"

#include <commctrl.h>

#include "scheduler/ScheduleEditRules.h"
#include "win/DataExchange.h"
#include "win/ModalAnswer.h"

namespace {

constexpr char kClockFormat[] = "HH:mm";
constexpr WORD kMinimumCount = 1;
constexpr WORD kMaximumCount = 32767;

constexpr char kClearQuestion[] = "Remove from Scheduled Transfers List?";
constexpr char kClearCaption[] = "Scheduled Transfers";

constexpr char kRefusalCaption[] = "Schedule Transfer";
constexpr char kCountRefused[] =
    "Please enter a count of at least 1 for \"Transfer every:\" whose first run comes before "
    "01/19/2038.";
constexpr char kUnitRefused[] =
    "Please choose Minutes, Hours, Days, Weeks or Months for \"Transfer every:\".";

bool IsPicker(int id) {
    return id >= IDC_START_DATE && id <= IDC_END_TIME;
}

bool IsStartPicker(int id) {
    return id == IDC_START_DATE || id == IDC_START_TIME;
}

bool CanShow(Time32 time) {
    return ToLocalFields(time).has_value();
}

}  // namespace

CScheduleTransferDialog::CScheduleTransferDialog(HWND owner) : Dialog(IDD), owner_(owner) {}

bool CScheduleTransferDialog::Run(ScheduleEditFields& fields) {
    fields_ = fields;
    if (DoModal(owner_) != IDOK) {
        return false;
    }
    fields = fields_;
    return true;
}

bool CScheduleTransferDialog::DoDataExchange(DataExchange& exchange) {
    int32_t disabled = fields_.disabledFlag ? 1 : 0;
    const bool exchanged = exchange.UnsignedNumber(IDC_COUNT, fields_.count) &&
                           ExchangePickers(exchange, IDC_END_DATE, IDC_END_TIME, endPicked_,
                                           fields_.endDate, fields_.endTime) &&
                           ExchangePickers(exchange, IDC_START_DATE, IDC_START_TIME, startPicked_,
                                           fields_.startDate, fields_.startTime) &&
                           exchange.Check(IDC_DISABLE, disabled);
    fields_.disabledFlag = disabled != 0;
    return exchanged;
}

// Mended: a stored time that the runtime cannot convert is not shown, and its pickers, showing
// the current time instead, used to overwrite it on OK. It stays until the user picks a time.
bool CScheduleTransferDialog::ExchangePickers(DataExchange& exchange, int dateId, int timeId,
                                              bool picked, Time32& date, Time32& time) {
    if (exchange.Saving() && !picked && (!CanShow(date) || !CanShow(time))) {
        return true;
    }
    return exchange.DateTime(timeId, time) && exchange.DateTime(dateId, date);
}

BOOL CScheduleTransferDialog::OnInit() {
    CheckItem(IDC_TRANSFER_ONCE, fields_.onceFlag);
    CheckItem(IDC_TRANSFER_EVERY, !fields_.onceFlag);
    SendItem(IDC_START_TIME, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(kClockFormat));
    SendItem(IDC_END_TIME, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(kClockFormat));
    for (const int picker : {IDC_START_DATE, IDC_START_TIME, IDC_END_DATE, IDC_END_TIME}) {
        LimitToTime32(Window(GetItem(picker)));
    }
    SendItem(IDC_COUNT_SPIN, UDM_SETRANGE, 0, MAKELPARAM(kMaximumCount, kMinimumCount));
    unitList_.Attach(GetItem(IDC_UNIT_LIST));
    unitList_.FillUnits();
    unitList_.SelectUnit(fields_.unit);
    CheckItem(IDC_END_DATE_CHECK, fields_.endDateFlag);
    EnableItem(IDC_CLEAR, fields_.loadedFlag);
    OnTransferOnce();
    OnEndDate();
    return TRUE;
}

bool CScheduleTransferDialog::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) {
        return false;
    }
    switch (id) {
        case IDC_TRANSFER_ONCE:
            OnTransferOnce();
            return true;
        case IDC_TRANSFER_EVERY:
            OnTransferEvery();
            return true;
        case IDC_END_DATE_CHECK:
            OnEndDate();
            return true;
        case IDC_CLEAR:
            OnClear();
            return true;
        default:
            return false;
    }
}

bool CScheduleTransferDialog::OnNotify(int id, NMHDR* header, LRESULT& result) {
    if (header->code != DTN_DATETIMECHANGE || !IsPicker(id)) {
        return false;
    }
    (IsStartPicker(id) ? startPicked_ : endPicked_) = true;
    OnDateTimeChange();
    result = 0;
    return true;
}

void CScheduleTransferDialog::OnTransferOnce() {
    const bool repeating = !IsItemChecked(IDC_TRANSFER_ONCE);
    EnableItem(IDC_COUNT, repeating);
    EnableItem(IDC_UNIT_LIST, repeating);
}

void CScheduleTransferDialog::OnTransferEvery() {
    OnTransferOnce();
}

// A schedule with an end date always repeats.
void CScheduleTransferDialog::OnEndDate() {
    const bool checked = IsItemChecked(IDC_END_DATE_CHECK);
    EnableItem(IDC_END_DATE, checked);
    EnableItem(IDC_END_TIME, checked);
    if (checked) {
        CheckItem(IDC_TRANSFER_ONCE, false);
        CheckItem(IDC_TRANSFER_EVERY, true);
        EnableItem(IDC_TRANSFER_ONCE, false);
        OnTransferOnce();
    } else {
        EnableItem(IDC_TRANSFER_ONCE, true);
    }
}

// While the count text is refused, the rule works on the pickers' values of the last exchange
// that succeeded.
void CScheduleTransferDialog::OnDateTimeChange() {
    UpdateData(true);
    if (KeepEndAfterStart(fields_)) {
        UpdateData(false);
    }
}

void CScheduleTransferDialog::OnOK() {
    fields_.endDateFlag = IsItemChecked(IDC_END_DATE_CHECK);
    fields_.onceFlag = IsItemChecked(IDC_TRANSFER_ONCE);
    fields_.unit = unitList_.GetSelectedUnit();
    if (!UpdateData(true) || RefuseUnusableField()) {
        return;
    }
    EndDialog(IDOK);
}

// Mended: a confirmed Clear used to exchange the fields first, so a count text that was refused
// kept the dialog open. The schedule is removed: none of its fields matter.
void CScheduleTransferDialog::OnClear() {
    if (AskMessageBox(hwnd_, kClearQuestion, kClearCaption, MB_OKCANCEL | MB_ICONQUESTION) !=
        IDOK) {
        return;
    }
    fields_.clearedFlag = true;
    EndDialog(IDOK);
}

bool CScheduleTransferDialog::RefuseUnusableField() {
    const UnusableField unusable = FindUnusableField(fields_);
    if (unusable == UnusableField::None) {
        return false;
    }
    const bool count = unusable == UnusableField::Count;
    AskMessageBox(hwnd_, count ? kCountRefused : kUnitRefused, kRefusalCaption,
                  MB_OK | MB_ICONEXCLAMATION);
    Send(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetItem(count ? IDC_COUNT : IDC_UNIT_LIST)), TRUE);
    return true;
}

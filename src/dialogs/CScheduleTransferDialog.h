#pragma once

#include <windows.h>

#include "dialogs/CUnitComboBox.h"
#include "res/resource.h"
#include "scheduler/ScheduleEditor.h"
#include "win/Dialog.h"

// Edits the timing of one scheduled queue transfer: start, optional end, once or every so many
// units, disabled; or clears the schedule.
class CScheduleTransferDialog : public Dialog, public ScheduleEditor {
public:
    enum { IDD = IDD_SCHEDULE_TRANSFER };

    explicit CScheduleTransferDialog(HWND owner);

    bool Run(ScheduleEditFields& fields) override;

protected:
    bool DoDataExchange(DataExchange& exchange) override;
    BOOL OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(int id, NMHDR* header, LRESULT& result) override;
    void OnOK() override;

private:
    void OnTransferOnce();
    void OnTransferEvery();
    void OnEndDate();
    void OnDateTimeChange();
    void OnClear();
    // The date and time pickers of the start or the end, as one time.
    bool ExchangePickers(DataExchange& exchange, int dateId, int timeId, bool picked, Time32& date,
                         Time32& time);
    // True when a field cannot be stored; the user has been told and the field has the focus.
    bool RefuseUnusableField();

    HWND owner_;
    ScheduleEditFields fields_;
    CUnitComboBox unitList_;
    // Whether the user changed a picker of the start, of the end.
    bool startPicked_ = false;
    bool endPicked_ = false;
};

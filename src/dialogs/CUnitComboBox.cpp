#include "dialogs/CUnitComboBox.h"

#include "scheduler/PeriodUnit.h"

void CUnitComboBox::FillUnits() const {
    for (const PeriodUnitInfo& info : kPeriodUnits) {
        // Inserted at the end rather than added: a combo box keeps the sorting it was created
        // with, and the units must stay in their own order.
        const LRESULT index =
            Send(CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(info.label));
        if (index >= 0) {
            Send(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(info.unit));
        }
    }
}

int32_t CUnitComboBox::GetSelectedUnit() const {
    const LRESULT selection = Send(CB_GETCURSEL);
    if (selection == CB_ERR) {
        return -1;
    }
    return static_cast<int32_t>(Send(CB_GETITEMDATA, static_cast<WPARAM>(selection)));
}

void CUnitComboBox::SelectUnit(int32_t unit) const {
    const LRESULT count = Send(CB_GETCOUNT);
    for (LRESULT index = 0; index < count; ++index) {
        if (Send(CB_GETITEMDATA, static_cast<WPARAM>(index)) == unit) {
            Send(CB_SETCURSEL, static_cast<WPARAM>(index));
            return;
        }
    }
}

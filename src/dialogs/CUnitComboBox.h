#pragma once

#include <cstdint>

#include "win/Window.h"

// The period units of a schedule in a combo box, each entry carrying its unit number.
class CUnitComboBox : public Window {
public:
    void FillUnits() const;
    // -1 when no entry is selected (the text part is editable).
    int32_t GetSelectedUnit() const;
    // Leaves the selection as it is when no entry has that unit.
    void SelectUnit(int32_t unit) const;
};

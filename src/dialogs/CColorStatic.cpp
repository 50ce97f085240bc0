#include "dialogs/CColorStatic.h"

CColorStatic::CColorStatic()
    : textColour_(GetSysColor(COLOR_WINDOWTEXT)), backgroundColour_(GetSysColor(COLOR_BTNFACE)) {}

HBRUSH CColorStatic::CtlColor(HDC dc) const {
    ::SetTextColor(dc, textColour_);
    SetBkColor(dc, backgroundColour_);
    SetBkMode(dc, backgroundMode_);
    // The text cells are filled opaquely; the rest of the control is left to the dialog.
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

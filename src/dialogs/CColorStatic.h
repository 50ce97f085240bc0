#pragma once

#include <windows.h>

#include "win/Window.h"

// A static text control painted in a text colour of its own. The parent routes its
// WM_CTLCOLORSTATIC for this control to CtlColor.
class CColorStatic : public Window {
public:
    CColorStatic();

    // Takes effect at the next repaint.
    void SetTextColor(COLORREF colour) { textColour_ = colour; }
    HBRUSH CtlColor(HDC dc) const;

private:
    COLORREF textColour_;
    COLORREF backgroundColour_;
    int backgroundMode_ = OPAQUE;
};

#pragma once

struct WindowRect {
    int left;
    int top;
    int right;
    int bottom;
};

constexpr int kMainWindowWidth = 450;
constexpr int kMainWindowHeight = 300;

// The main window centred on the primary screen; a screen smaller than the window gives a
// negative left or top (integer division toward zero, as the window manager expects).
inline WindowRect CentredMainWindowRect(int screenWidth, int screenHeight) {
    const int left = (screenWidth - kMainWindowWidth) / 2;
    const int top = (screenHeight - kMainWindowHeight) / 2;
    return {left, top, left + kMainWindowWidth, top + kMainWindowHeight};
}

// One axis of a dialog's start: centred on [centreFrom, centreTo], then moved back inside
// [areaFrom, areaTo], the far edge first, so that a dialog larger than the area shows its start.
inline int CentredStartInside(int centreFrom, int centreTo, int areaFrom, int areaTo, int size) {
    int start = (centreFrom + centreTo) / 2 - size / 2;
    if (start + size > areaTo) {
        start = areaTo - size;
    }
    if (start < areaFrom) {
        start = areaFrom;
    }
    return start;
}

// Where a modal dialog of this size opens: centred on `centre` (its owner, or the work area),
// kept inside the work area `area`, its size unchanged.
inline WindowRect CentredDialogRect(const WindowRect& centre, const WindowRect& area, int width,
                                    int height) {
    const int left = CentredStartInside(centre.left, centre.right, area.left, area.right, width);
    const int top = CentredStartInside(centre.top, centre.bottom, area.top, area.bottom, height);
    return {left, top, left + width, top + height};
}

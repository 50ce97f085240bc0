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

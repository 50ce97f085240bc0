#pragma once

#include "win/Window.h"

// A top-level or child window of a class the program registers. Binds to its object on
// WM_NCCREATE from CREATESTRUCT::lpCreateParams; one virtual OnMessage per class.
class CustomWindow : public Window {
public:
    virtual ~CustomWindow() = default;

    bool Create(const char* className, const char* title, DWORD style, DWORD exStyle,
                const RECT& rect, HWND parent, HMENU menu);

protected:
    // Default processing for anything a class does not handle.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const {
        return DefWindowProcA(hwnd_, message, wParam, lParam);
    }
    // The window is gone: the object no longer refers to it.
    virtual void OnFinalMessage() {}

private:
    static bool RegisterClassOnce(const char* className);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

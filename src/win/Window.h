#pragma once

#include <windows.h>

#include <string>

// A value holding one HWND, with one short method per call the program makes on windows and on
// the child controls of a dialog (found by id). Owns nothing.
class Window {
public:
    Window() = default;
    explicit Window(HWND hwnd) : hwnd_(hwnd) {}

    operator HWND() const { return hwnd_; }
    HWND Handle() const { return hwnd_; }
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    bool Exists() const { return hwnd_ != nullptr && IsWindow(hwnd_); }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(hwnd_, message, wParam, lParam);
    }
    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return PostMessageA(hwnd_, message, wParam, lParam) != FALSE;
    }
    bool Show(int command) const { return ShowWindow(hwnd_, command) != FALSE; }
    bool Enable(bool enable) const { return EnableWindow(hwnd_, enable) != FALSE; }
    bool IsEnabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
    bool SetText(const std::string& text) const {
        return SetWindowTextA(hwnd_, text.c_str()) != FALSE;
    }
    std::string GetText() const;

    HWND GetItem(int id) const { return GetDlgItem(hwnd_, id); }
    bool SetItemText(int id, const std::string& text) const {
        return SetDlgItemTextA(hwnd_, id, text.c_str()) != FALSE;
    }
    std::string GetItemText(int id) const { return Window(GetItem(id)).GetText(); }
    bool EnableItem(int id, bool enable) const { return Window(GetItem(id)).Enable(enable); }
    bool IsItemChecked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
    bool CheckItem(int id, bool checked) const {
        return CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED) != FALSE;
    }
    LRESULT SendItem(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendDlgItemMessageA(hwnd_, id, message, wParam, lParam);
    }

protected:
    HWND hwnd_ = nullptr;
};

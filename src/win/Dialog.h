#pragma once

#include <windows.h>

#include "win/Window.h"

class DataExchange;

// The owner the framework gave a dialog built without a parent: the main window's last active
// popup, or the main window itself when none, even while the main window is hidden.
HWND DefaultDialogOwner(HWND mainWindow);

// A modal dialog on a numbered template. Binds to its object on WM_INITDIALOG through
// DialogBoxParamA's parameter; one OnMessage switch calls the handlers below.
class Dialog : public Window {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // 0 when the dialog was ended by the quit message rather than answered.
    INT_PTR DoModal(HWND owner);
    // Moves the members into the controls, or the controls into the members; false when a
    // control holds text that is refused (the user has been told, the dialog stays open).
    bool UpdateData(bool save);

protected:
    virtual bool DoDataExchange(DataExchange& exchange);
    // TRUE lets the dialog manager set the focus.
    virtual BOOL OnInit() { return TRUE; }
    virtual bool OnCommand(int id, int code, HWND control);
    virtual bool OnNotify(int id, NMHDR* header, LRESULT& result);
    virtual bool OnTimer(UINT_PTR id);
    // A brush to paint the control with, or nullptr for the system's colours.
    virtual HBRUSH OnCtlColor(HDC dc, HWND control, UINT message);
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(INT_PTR result) const;
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnInitDialog();
    void CentreOnOwner() const;
    int templateId_;
};

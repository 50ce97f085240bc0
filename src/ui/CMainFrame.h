#pragma once

#include <windows.h>

#include <shellapi.h>

#include "core/TimerHost.h"
#include "ui/CActivityLog.h"
#include "ui/TrayIcon.h"
#include "win/CustomWindow.h"

class CMonitorApp;

// The program's only top-level window: the log in its client area, the menu bar, the
// notification-area icon with its menu, and the two workers' timers.
class CMainFrame : public CustomWindow, public TimerHost {
public:
    explicit CMainFrame(CMonitorApp& app);

    bool Create(const RECT& rect);
    CActivityLog& Log() { return log_; }
    bool IsInTray() const { return minimized_; }
    bool IsIconShown() const { return trayIcon_.IsShown(); }

    bool StartTimer(uintptr_t id, unsigned periodMs) override;
    bool StopTimer(uintptr_t id) override;

    // Applies the tray menu's removals and default item to its popup.
    void PrepareTrayMenu(HMENU popup);
    // Applies the check and enable rules to whichever menu is opening.
    void OnInitMenu(HMENU menu);

    static UINT TrayMessage();
    static UINT TaskbarCreatedMessage();

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnCreate();
    void OnSize(int width, int height);
    void OnSetFocus();
    LRESULT OnSysCommand(WPARAM command, LPARAM position);
    LRESULT OnTimer(WPARAM id, LPARAM lParam);
    void OnClose();
    void OnDestroy();
    void OnContextMenu();
    LRESULT OnTrayNotify(LPARAM mouseMessage);
    void OnTaskbarCreated();
    void OnTimeChange();
    bool OnCommand(int id);

    void OnStartClient();
    void OnOpen();
    void OnHide();
    void OnToggleUrlMonitor();
    void OnQueueTransfers();
    void OnResumeTransfers();

    void ShowTrayMenu();
    void BringModalToFront() const;
    void AddTrayIcon();
    void RemoveTrayIcon();

    CMonitorApp& app_;
    bool minimized_ = false;
    TrayIcon trayIcon_{*this};
    CActivityLog log_;
};

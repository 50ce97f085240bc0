#pragma once

#include <windows.h>

#include <memory>

#include "app/RegistrySettingsStore.h"
#include "app/Win32Clipboard.h"
#include "app/Win32CompanionPlatform.h"
#include "app/Win32FileSystem.h"
#include "app/Win32Keyboard.h"
#include "app/Win32TickSource.h"
#include "app/WinInetUrlParser.h"
#include "core/ClientLauncher.h"
#include "core/Clock.h"
#include "core/ModalState.h"
#include "scheduler/CTransferScheduler.h"
#include "urlmonitor/CUrlMonitor.h"

class CMainFrame;

// The application object: single instance, the install folder, the main window, the two
// timer-driven workers, and the platform adapters they work through.
class CMonitorApp {
public:
    CMonitorApp();
    ~CMonitorApp();
    CMonitorApp(const CMonitorApp&) = delete;
    CMonitorApp& operator=(const CMonitorApp&) = delete;

    // False when the process is to end at once: another copy runs, or there is no window.
    bool InitInstance();
    int Run();
    int ExitInstance(int exitCode);

    bool HasPendingTransfers();
    void ResumeInterruptedTransfers(bool ask);
    void EndSession();
    bool IsResuming() const { return modals_.IsOpen(ModalKind::Resume); }
    void OnMainFrameDestroyed(const CMainFrame& frame);

    CUrlMonitor& UrlMonitor() { return urlMonitor_; }
    CTransferScheduler& Scheduler() { return scheduler_; }
    ClientLauncher& Launcher() { return launcher_; }
    SettingsStore& Settings() { return settings_; }
    FileSystem& Files() { return files_; }
    const Clock& GetClock() const { return clock_; }
    const TickSource& Ticks() const { return ticks_; }
    ModalState& Modals() { return modals_; }
    CMainFrame* MainFrame() { return mainFrame_.get(); }

private:
    bool CreateMainFrame();
    void OfferToResume();
    void EndMainFrame();

    HANDLE instanceEvent_ = nullptr;
    RegistrySettingsStore settings_;
    Win32CompanionPlatform companions_;
    Win32FileSystem files_;
    SystemClock clock_;
    Win32TickSource ticks_;
    Win32Clipboard clipboard_;
    Win32Keyboard keyboard_;
    WinInetUrlParser urlParser_;
    ClientLauncher launcher_;
    CUrlMonitor urlMonitor_;
    CTransferScheduler scheduler_;
    ModalState modals_;
    std::unique_ptr<CMainFrame> mainFrame_;
};

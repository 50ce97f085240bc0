#include "app/CMonitorApp.h"

#include <commctrl.h>

#include "core/RegistryLayout.h"
#include "core/WindowPlacement.h"
#include "dialogs/DialogResumeQuestion.h"
#include "recovery/CInterruptedTransferStore.h"
#include "recovery/ResumeFlow.h"
#include "res/resource.h"
#include "ui/CMainFrame.h"

namespace {

constexpr char kInstanceEvent[] = "VANTRELMONITORInstance";
constexpr char kInstanceMutex[] = "VANTRELMONITOR";

}  // namespace

CMonitorApp::CMonitorApp()
    : launcher_(companions_, ticks_),
      urlMonitor_(settings_, clipboard_, keyboard_, urlParser_, launcher_),
      scheduler_(settings_, files_, launcher_, clock_) {}

CMonitorApp::~CMonitorApp() = default;

bool CMonitorApp::InitInstance() {
    instanceEvent_ = CreateEventA(nullptr, FALSE, FALSE, kInstanceEvent);
    if (instanceEvent_ == nullptr) {
        return false;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(instanceEvent_);
        instanceEvent_ = nullptr;
        return false;
    }
    // Held for the life of the process, never waited on: the companions look for it by name.
    CreateMutexA(nullptr, FALSE, kInstanceMutex);
    // An installer that closed the program to update the client's folder brings it back.
    RegisterApplicationRestart(L"", RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT);

    launcher_.SetInstallFolder(InstallFolderFromSetting(
        settings_.ReadMachineString(registry::kSettingsKey, registry::kInstallPathValue),
        [](char byte) { return IsDBCSLeadByte(static_cast<BYTE>(byte)) != FALSE; }));

    if (!CreateMainFrame()) {
        return false;
    }
    CMainFrame& frame = *mainFrame_;
    frame.Show(SW_SHOW);
    UpdateWindow(frame);
    frame.Send(WM_COMMAND, ID_HIDE, 0);

    clipboard_.SetOwner(frame);
    launcher_.Attach(frame.Log());
    urlMonitor_.Attach(frame.Log());
    urlMonitor_.StartTimer(frame);
    scheduler_.Attach(frame.Log());
    scheduler_.StartTimer(frame);

    OfferToResume();
    return true;
}

// Start-up runs outside the window procedures' guard, where an exception would end the program.
void CMonitorApp::OfferToResume() {
    try {
        if (HasPendingTransfers()) {
            ResumeInterruptedTransfers(true);
        }
    } catch (...) {
        // At worst the question is not asked: the rows stay for the menus and the next start.
    }
}

bool CMonitorApp::CreateMainFrame() {
    const WindowRect placement =
        CentredMainWindowRect(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const RECT rect{placement.left, placement.top, placement.right, placement.bottom};
    mainFrame_ = std::make_unique<CMainFrame>(*this);
    if (!mainFrame_->Create(rect)) {
        mainFrame_.reset();
        return false;
    }
    return true;
}

int CMonitorApp::Run() {
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

int CMonitorApp::ExitInstance(int exitCode) {
    // Mended: a quit message during start-up left the window, and its icon, to outlive the frame
    // object that its window procedure still pointed to.
    EndMainFrame();
    if (instanceEvent_ != nullptr) {
        CloseHandle(instanceEvent_);
        instanceEvent_ = nullptr;
    }
    return exitCode;
}

// Windows ends the session, or an installer asks the program to close, whatever is open: all
// state is in the registry, so it ends as a confirmed close does. An open question's loop meets
// the quit message and keeps its rows.
void CMonitorApp::EndSession() {
    EndMainFrame();
}

void CMonitorApp::EndMainFrame() {
    if (mainFrame_ && mainFrame_->Exists()) {
        DestroyWindow(*mainFrame_);
    }
}

void CMonitorApp::OnMainFrameDestroyed(const CMainFrame& frame) {
    if (&frame == mainFrame_.get()) {
        PostQuitMessage(0);
    }
}

bool CMonitorApp::HasPendingTransfers() {
    return ::HasPendingTransfers(launcher_, settings_);
}

void CMonitorApp::ResumeInterruptedTransfers(bool ask) {
    if (!mainFrame_) {
        return;
    }
    DialogResumeQuestion question(*mainFrame_, ticks_);
    ::ResumeInterruptedTransfers(ask, question, modals_, settings_, launcher_, mainFrame_->Log());
}

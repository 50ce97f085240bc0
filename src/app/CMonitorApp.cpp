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
    : launcher_(companions_),
      urlMonitor_(settings_, clipboard_, keyboard_, urlParser_, launcher_),
      scheduler_(settings_, files_, launcher_, clock_) {}

CMonitorApp::~CMonitorApp() = default;

bool CMonitorApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

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
    urlMonitor_.Attach(frame.Log());
    urlMonitor_.StartTimer(frame);
    scheduler_.Attach(frame.Log());
    scheduler_.StartTimer(frame);

    if (HasPendingTransfers()) {
        ResumeInterruptedTransfers(true);
    }
    return true;
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
    if (instanceEvent_ != nullptr) {
        CloseHandle(instanceEvent_);
        instanceEvent_ = nullptr;
    }
    return exitCode;
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

#pragma once

#include <windows.h>

#include <string>

#include "core/Clock.h"
#include "core/Companions.h"
#include "core/SettingsStore.h"
#include "res/resource.h"
#include "win/Dialog.h"

// Lists the queues that have a schedule and edits or removes one. Every change is written at
// once; the dialog keeps no table, list or schedule between clicks.
class CQueueTransfersDialog : public Dialog {
public:
    enum { IDD = IDD_QUEUE_TRANSFERS };

    CQueueTransfersDialog(SettingsStore& settings, FileSystem& files, const Clock& clock);
    ~CQueueTransfersDialog() override;

protected:
    BOOL OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT message) override;

private:
    void FillList();
    void WidenForLongestName() const;
    // Empty when no entry is selected.
    std::string GetSelectedQueueName() const;
    void OnSelChangeList();
    void OnEdit();
    void OnRemove();

    SettingsStore& settings_;
    FileSystem& files_;
    const Clock& clock_;
    HBRUSH backgroundBrush_;
};

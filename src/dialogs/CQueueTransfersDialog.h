#pragma once

#include <windows.h>

#include <string>

#include "res/resource.h"
#include "scheduler/QueueSchedules.h"
#include "win/Dialog.h"

// Lists the queues that have a schedule and edits or removes one. Every change is written at
// once; the dialog keeps no table, list or schedule between clicks.
class CQueueTransfersDialog : public Dialog {
public:
    enum { IDD = IDD_QUEUE_TRANSFERS };

    explicit CQueueTransfersDialog(QueueSchedules& schedules);
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
    // The row changed while the user was deciding and was left as it is now: show the table as
    // it is, and say so.
    void ReportChangedMeanwhile(const std::string& queueName, const char* whileWhat);

    QueueSchedules& schedules_;
    HBRUSH backgroundBrush_;
};

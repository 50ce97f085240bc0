#include "dialogs/CQueueTransfersDialog.h"

#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "scheduler/CQueueScheduleStore.h"
#include "shared/Fakes.h"
#include "shared/MemorySettingsStore.h"

namespace {

using Names = std::vector<std::string>;
using Rows = std::vector<int>;

constexpr char kAlpha[] = "C:\\Queues\\alpha.ftq";
constexpr char kGone[] = "C:\\Queues\\gone.ftq";
constexpr char kZeta[] = "C:\\Queues\\zeta.ftq";

Names Listed(Window dialog) {
    Names names;
    for (LRESULT index = 0; index < dialog.SendItem(IDC_QUEUE_LIST, LB_GETCOUNT); ++index) {
        char text[MAX_PATH] = {};
        dialog.SendItem(IDC_QUEUE_LIST, LB_GETTEXT, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(text));
        names.push_back(text);
    }
    return names;
}

void Select(Window dialog, int index) {
    dialog.SendItem(IDC_QUEUE_LIST, LB_SETCURSEL, static_cast<WPARAM>(index));
    dialog.Send(WM_COMMAND, MAKEWPARAM(IDC_QUEUE_LIST, LBN_SELCHANGE),
                reinterpret_cast<LPARAM>(dialog.GetItem(IDC_QUEUE_LIST)));
}

class QueueTransfersDialogTest : public ::testing::Test {
protected:
    void AddRows(const std::vector<std::pair<int, std::string>>& rows) {
        for (const auto& [row, queue] : rows) {
            store.WriteRow(row, ScheduleRecord{}, queue);
            files.files.insert(queue);
        }
    }
    void Run(std::function<void(Window)> script) {
        QueueSchedules schedules(settings, files, launcher, clock, modals);
        CQueueTransfersDialog dialog(schedules);
        WithScript([&] { return dialog.Handle(); }, std::move(script),
                   [&] { return dialog.DoModal(nullptr); });
    }

    MemorySettingsStore settings;
    FakeFileSystem files;
    FakeCompanions companions;
    ClientLauncher launcher{companions};
    FakeClock clock;
    ModalState modals;
    CQueueScheduleStore store{settings, files};
};

}  // namespace

// Vanished queues are purged on opening; of two rows with the selected name, the first found goes.
TEST_F(QueueTransfersDialogTest, ListsSortedAndRemoveAsksAndOnlyOkDeletesTheRowFoundFirst) {
    for (const int answer : {IDCANCEL, IDOK}) {
        AddRows({{1, kZeta}, {2, kAlpha}, {3, kGone}, {4, kZeta}});
        files.files.erase(kGone);
        Run([&](Window dialog) {
            EXPECT_EQ(Listed(dialog), (Names{kAlpha, kZeta, kZeta}));
            Select(dialog, 2);
            const MessageBoxContents box = ClickAndAnswer(dialog, IDC_REMOVE_SCHEDULE, answer);
            EXPECT_EQ(box.caption, "Remove");
            EXPECT_EQ(box.text, "Remove:\nC:\\Queues\\zeta.ftq\nfrom Queue Transfer Scheduler ?");
            EXPECT_EQ(Listed(dialog).size(), answer == IDOK ? 2u : 3u);
            EXPECT_EQ(store.Enumerate(), (answer == IDOK ? Rows{2, 4} : Rows{1, 2, 4}));
        });
    }
}

// The scheduler's tick runs inside the dialog's modal loop and may delete a row meanwhile.
TEST_F(QueueTransfersDialogTest, RowThatVanishedIsRemovedQuietlyAndRefilledByEdit) {
    AddRows({{1, kAlpha}, {2, kZeta}});
    Run([&](Window dialog) {
        Select(dialog, 1);
        store.DeleteRow(2);
        Click(dialog, IDC_REMOVE_SCHEDULE);
        EXPECT_EQ(Listed(dialog), (Names{kAlpha, kZeta}));
        Click(dialog, IDC_EDIT_SCHEDULE);
        EXPECT_EQ(Listed(dialog), (Names{kAlpha}));
    });
}

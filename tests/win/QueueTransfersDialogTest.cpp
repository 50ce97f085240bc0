#include "dialogs/CQueueTransfersDialog.h"

#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "core/Colours.h"
#include "core/MemorySettingsStore.h"
#include "core/RegistryLayout.h"
#include "scheduler/CQueueScheduleStore.h"
#include "scheduler/CSchedule.h"
#include "shared/Fakes.h"

namespace {

using Hive = MemorySettingsStore::Hive;

constexpr char kAlpha[] = "C:\\Queues\\alpha.ftq";
constexpr char kMid[] = "C:\\Queues\\Mid.ftq";
constexpr char kZeta[] = "C:\\Queues\\zeta.ftq";
constexpr char kGone[] = "C:\\Queues\\gone.ftq";

std::vector<std::string> ListEntries(Window dialog) {
    std::vector<std::string> entries;
    const LRESULT count = dialog.SendItem(IDC_QUEUE_LIST, LB_GETCOUNT);
    for (LRESULT index = 0; index < count; ++index) {
        char text[MAX_PATH] = {};
        dialog.SendItem(IDC_QUEUE_LIST, LB_GETTEXT, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

// A click on the entry, which the list box reports to the dialog as a selection change.
void ClickEntry(Window dialog, int index) {
    const Window list(dialog.GetItem(IDC_QUEUE_LIST));
    RECT item{};
    list.Send(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    const LPARAM point = MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
    list.Send(WM_LBUTTONDOWN, MK_LBUTTON, point);
    list.Send(WM_LBUTTONUP, 0, point);
}

bool ButtonsEnabled(Window dialog) {
    const bool edit = IsWindowEnabled(dialog.GetItem(IDC_EDIT_SCHEDULE)) != FALSE;
    EXPECT_EQ(IsWindowEnabled(dialog.GetItem(IDC_REMOVE_SCHEDULE)) != FALSE, edit);
    return edit;
}

class QueueTransfersDialogTest : public ::testing::Test {
protected:
    void AddRow(int row, const std::string& queue, int32_t count = 1) {
        CSchedule schedule(clock);
        schedule.onceFlag = false;
        schedule.count = count;
        schedule.unit = static_cast<int32_t>(PeriodUnit::Hours);
        store.WriteRow(row, schedule.ToRecord(), queue);
        files.files.insert(queue);
    }
    bool RowExists(int row) const {
        return settings.KeyExists(Hive::User,
                                  std::string(registry::kQueueTable) + "\\" + std::to_string(row));
    }
    INT_PTR Run(std::function<void(Window)> script) {
        CQueueTransfersDialog dialog(settings, files, clock);
        return RunModal(dialog, std::move(script));
    }

    MemorySettingsStore settings;
    FakeFileSystem files;
    FakeClock clock{*FromLocalFields(2024, 6, 1, 12, 0, 0)};
    CQueueScheduleStore store{settings, files};
};

}  // namespace

TEST_F(QueueTransfersDialogTest, ListsSortedNamesWithDuplicatesAfterPurgingVanishedQueues) {
    AddRow(1, kZeta);
    AddRow(2, kAlpha);
    AddRow(3, kGone);
    AddRow(4, kZeta);
    AddRow(5, kMid);
    files.files.erase(kGone);
    const INT_PTR result = Run([&](Window dialog) {
        EXPECT_EQ(ListEntries(dialog), (std::vector<std::string>{kAlpha, kMid, kZeta, kZeta}));
        EXPECT_FALSE(RowExists(3));
        EXPECT_FALSE(ButtonsEnabled(dialog));
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
}

TEST_F(QueueTransfersDialogTest, EmptyTableGivesAnEmptyListWithButtonsDisabled) {
    Run([](Window dialog) {
        EXPECT_TRUE(ListEntries(dialog).empty());
        EXPECT_FALSE(ButtonsEnabled(dialog));
        Click(dialog, IDOK);
    });
}

TEST_F(QueueTransfersDialogTest, SelectionChangesEnableAndDisableBothButtons) {
    AddRow(1, kAlpha);
    Run([](Window dialog) {
        ClickEntry(dialog, 0);
        EXPECT_EQ(dialog.SendItem(IDC_QUEUE_LIST, LB_GETCURSEL), 0);
        EXPECT_TRUE(ButtonsEnabled(dialog));
        dialog.SendItem(IDC_QUEUE_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1));
        dialog.Send(WM_COMMAND, MAKEWPARAM(IDC_QUEUE_LIST, LBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(dialog.GetItem(IDC_QUEUE_LIST)));
        EXPECT_FALSE(ButtonsEnabled(dialog));
        Click(dialog, IDOK);
    });
}

TEST_F(QueueTransfersDialogTest, ListIsNavyOnLightGreyAndTheRestInSystemColours) {
    Run([](Window dialog) {
        const HDC dc = CreateCompatibleDC(nullptr);
        const auto brush = reinterpret_cast<HBRUSH>(
            dialog.Send(WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(dialog.GetItem(IDC_QUEUE_LIST))));
        LOGBRUSH fill{};
        ASSERT_EQ(GetObjectA(brush, sizeof fill, &fill), static_cast<int>(sizeof fill));
        EXPECT_EQ(fill.lbColor, kLogBackground);
        EXPECT_EQ(GetBkColor(dc), kLogBackground);
        EXPECT_EQ(GetTextColor(dc), kNavy);
        const auto buttonBrush =
            reinterpret_cast<HBRUSH>(dialog.Send(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                                 reinterpret_cast<LPARAM>(dialog.GetItem(IDOK))));
        EXPECT_NE(buttonBrush, brush);
        DeleteDC(dc);
        Click(dialog, IDOK);
    });
}

TEST_F(QueueTransfersDialogTest, RemoveConfirmedDeletesTheRowAndLeavesNothingSelected) {
    AddRow(1, kZeta);
    AddRow(2, kAlpha);
    Run([&](Window dialog) {
        ClickEntry(dialog, 0);
        {
            const MessageBoxAnswer answer(dialog, IDOK);
            Click(dialog, IDC_REMOVE_SCHEDULE);
            ASSERT_TRUE(answer.answered);
            EXPECT_EQ(answer.box.caption, "Remove");
            EXPECT_EQ(answer.box.text,
                      "Remove:\nC:\\Queues\\alpha.ftq\nfrom Queue Transfer Scheduler ?");
            EXPECT_EQ(answer.box.buttons, (std::vector<int>{IDOK, IDCANCEL}));
        }
        EXPECT_FALSE(RowExists(2));
        EXPECT_EQ(ListEntries(dialog), (std::vector<std::string>{kZeta}));
        EXPECT_EQ(dialog.SendItem(IDC_QUEUE_LIST, LB_GETCURSEL), LB_ERR);
        EXPECT_TRUE(ButtonsEnabled(dialog));
        // With nothing selected both buttons do nothing; a question here would fail the test.
        const std::string before = settings.Dump(Hive::User);
        Click(dialog, IDC_REMOVE_SCHEDULE);
        Click(dialog, IDC_EDIT_SCHEDULE);
        EXPECT_EQ(settings.Dump(Hive::User), before);
        Click(dialog, IDOK);
    });
}

TEST_F(QueueTransfersDialogTest, RemoveAnsweredWithCancelChangesNothing) {
    AddRow(1, kAlpha);
    const std::string before = settings.Dump(Hive::User);
    Run([&](Window dialog) {
        ClickEntry(dialog, 0);
        {
            const MessageBoxAnswer answer(dialog, IDCANCEL);
            Click(dialog, IDC_REMOVE_SCHEDULE);
            EXPECT_TRUE(answer.answered);
        }
        EXPECT_EQ(ListEntries(dialog), (std::vector<std::string>{kAlpha}));
        EXPECT_EQ(dialog.SendItem(IDC_QUEUE_LIST, LB_GETCURSEL), 0);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(settings.Dump(Hive::User), before);
}

TEST_F(QueueTransfersDialogTest, RemoveOfADuplicateNameDeletesTheRowFoundFirst) {
    AddRow(1, kZeta);
    AddRow(4, kZeta);
    Run([&](Window dialog) {
        ClickEntry(dialog, 1);
        const MessageBoxAnswer answer(dialog, IDOK);
        Click(dialog, IDC_REMOVE_SCHEDULE);
        EXPECT_FALSE(RowExists(1));
        EXPECT_TRUE(RowExists(4));
        EXPECT_EQ(ListEntries(dialog), (std::vector<std::string>{kZeta}));
        Click(dialog, IDOK);
    });
}

// The scheduler's tick runs inside the dialog's modal loop and may delete a row meanwhile.
TEST_F(QueueTransfersDialogTest, RowThatVanishedIsRemovedQuietlyAndRefilledByEdit) {
    AddRow(1, kAlpha);
    AddRow(2, kZeta);
    Run([&](Window dialog) {
        ClickEntry(dialog, 1);
        store.DeleteRow(2);
        Click(dialog, IDC_REMOVE_SCHEDULE);
        EXPECT_EQ(ListEntries(dialog), (std::vector<std::string>{kAlpha, kZeta}));
        ClickEntry(dialog, 1);
        Click(dialog, IDC_EDIT_SCHEDULE);
        EXPECT_EQ(ListEntries(dialog), (std::vector<std::string>{kAlpha}));
        Click(dialog, IDOK);
    });
}

TEST_F(QueueTransfersDialogTest, EditShowsTheRowsScheduleAndCancelWritesNothing) {
    AddRow(1, kAlpha, 6);
    const std::string before = settings.Dump(Hive::User);
    Run([&](Window dialog) {
        ClickEntry(dialog, 0);
        const DialogScript editor("Schedule Transfer", dialog, [](Window schedule) {
            EXPECT_EQ(schedule.GetItemText(IDC_COUNT), "6");
            EXPECT_TRUE(IsWindowEnabled(schedule.GetItem(IDC_CLEAR)));
            schedule.SetItemText(IDC_COUNT, "9");
            Click(schedule, IDCANCEL);
        });
        Click(dialog, IDC_EDIT_SCHEDULE);
        EXPECT_TRUE(editor.ran);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(settings.Dump(Hive::User), before);
}

TEST_F(QueueTransfersDialogTest, EditWithOkRewritesTheRowUnderItsNumberAndName) {
    AddRow(3, kAlpha, 6);
    Run([&](Window dialog) {
        ClickEntry(dialog, 0);
        const DialogScript editor("Schedule Transfer", dialog, [](Window schedule) {
            schedule.SetItemText(IDC_COUNT, "9");
            Click(schedule, IDOK);
        });
        Click(dialog, IDC_EDIT_SCHEDULE);
        EXPECT_TRUE(editor.ran);
        EXPECT_EQ(ListEntries(dialog), (std::vector<std::string>{kAlpha}));
        Click(dialog, IDOK);
    });
    std::string name;
    const std::optional<ScheduleRecord> record = store.ReadRow(3, name);
    ASSERT_TRUE(record);
    EXPECT_EQ(name, kAlpha);
    EXPECT_EQ(ReadField(*record, RecordField::Count), 9);
}

TEST_F(QueueTransfersDialogTest, EditWithConfirmedClearDeletesTheRowAndRefillsTheList) {
    AddRow(1, kAlpha);
    AddRow(2, kZeta);
    Run([&](Window dialog) {
        ClickEntry(dialog, 1);
        const DialogScript editor("Schedule Transfer", dialog, [](Window schedule) {
            const MessageBoxAnswer answer(schedule, IDOK);
            Click(schedule, IDC_CLEAR);
        });
        Click(dialog, IDC_EDIT_SCHEDULE);
        EXPECT_TRUE(editor.ran);
        EXPECT_FALSE(RowExists(2));
        EXPECT_EQ(ListEntries(dialog), (std::vector<std::string>{kAlpha}));
        Click(dialog, IDOK);
    });
}

TEST_F(QueueTransfersDialogTest, LongNamesGetAHorizontalScrollRange) {
    AddRow(1, "C:\\" + std::string(200, 'q') + ".ftq");
    AddRow(2, kAlpha);
    Run([](Window dialog) {
        RECT list{};
        GetClientRect(dialog.GetItem(IDC_QUEUE_LIST), &list);
        EXPECT_GT(dialog.SendItem(IDC_QUEUE_LIST, LB_GETHORIZONTALEXTENT), list.right);
        Click(dialog, IDOK);
    });
}

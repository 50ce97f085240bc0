#include <gtest/gtest.h>

#include <optional>

#include "e2e/MonitorHarness.h"
#include "res/resource.h"

namespace {

constexpr char kListTitle[] = "Queue Transfers";
constexpr char kEditorTitle[] = "Schedule Transfer";
constexpr char kRemoveTitle[] = "Remove";
constexpr int32_t kMinutes = 0;
constexpr Time32 kDay = 86400;

Time32 LocalTime(const std::tm& base, int daysLater, int second) {
    return FromLocalFields(base.tm_year + 1900, base.tm_mon + 1, base.tm_mday + daysLater,
                           base.tm_hour, base.tm_min, second)
        .value_or(0);
}

bool IsChecked(HWND dialog, int id) {
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

class QueueTransfersTest : public ::testing::Test {
protected:
    void SetUp() override {
        standIns.Reset();
        ResetRegistry(standIns.Folder());
        SeedQueueRow(1, zuluFile, RecordOf({{RecordField::StartTime, now + kDay}}));
        SeedQueueRow(2, alphaFile, RecordOf({{RecordField::StartTime, now + kDay}}));
        SeedQueueRow(3, standIns.MissingQueueFile("Deleted queue.ftq"),
                     RecordOf({{RecordField::StartTime, now + kDay}}));
    }

    HWND OpenList() {
        if (!monitor.Start()) {
            return nullptr;
        }
        monitor.PostCommand(ID_QUEUE_TRANSFERS);
        return monitor.WaitForWindow(kListTitle);
    }

    // The queues are listed sorted by name: alpha first.
    void SelectAlpha(HWND list) const { SelectListEntry(list, IDC_QUEUE_LIST, 0); }

    StandIns standIns;
    MonitorProcess monitor;
    const Time32 now = Now();
    const std::string zuluFile = standIns.CreateQueueFile("Zulu nightly.ftq");
    const std::string alphaFile = standIns.CreateQueueFile("Alpha queue.ftq");
};

}  // namespace

TEST_F(QueueTransfersTest, ListShowsTheQueuesSortedAfterPurgingRowsWithoutAQueueFile) {
    HWND list = OpenList();
    ASSERT_NE(list, nullptr);

    EXPECT_EQ(ListBoxEntries(GetDlgItem(list, IDC_QUEUE_LIST)),
              (std::vector<std::string>{alphaFile, zuluFile}));
    EXPECT_EQ(QueueRowNames(), (std::vector<std::string>{"1", "2"}));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(list, IDC_EDIT_SCHEDULE)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(list, IDC_REMOVE_SCHEDULE)));
    SelectAlpha(list);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(list, IDC_EDIT_SCHEDULE)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(list, IDC_REMOVE_SCHEDULE)));
}

TEST_F(QueueTransfersTest, EditCancelWritesNothingAndOkRewritesTheRowByTheEditRules) {
    const std::tm base = ToLocalFields(now).value();
    const Time32 newStart = LocalTime(base, 2, 0);
    const ScheduleRecord stored = RecordOf({{RecordField::StartTime, LocalTime(base, 2, 42)},
                                            {RecordField::EndTime, LocalTime(base, 5, 17)},
                                            {RecordField::AnchorTime, newStart - kDay},
                                            {RecordField::Count, 30},
                                            {RecordField::Unit, kMinutes}});
    SeedQueueRow(2, alphaFile, stored);
    HWND list = OpenList();
    ASSERT_NE(list, nullptr);
    SelectAlpha(list);

    PostClickButton(list, IDC_EDIT_SCHEDULE);
    HWND editor = monitor.WaitForWindow(kEditorTitle);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(IsChecked(editor, IDC_TRANSFER_EVERY));
    EXPECT_EQ(ItemText(editor, IDC_COUNT), "30");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(editor, IDC_CLEAR)));
    ClickButton(editor, IDCANCEL);
    ASSERT_TRUE(WaitForWindowToClose(editor));

    // The editor opens again only after the cancelled edit has finished with the row.
    PostClickButton(list, IDC_EDIT_SCHEDULE);
    editor = monitor.WaitForWindow(kEditorTitle);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(StoredQueueData(2), Bytes(stored));
    ClickButton(editor, IDOK);
    ASSERT_TRUE(WaitForWindowToClose(editor));

    // Seconds cleared, and the period now counted from the new start, which is later than the
    // old reference.
    const std::vector<uint8_t> rewritten =
        Bytes(RecordOf({{RecordField::StartTime, newStart},
                        {RecordField::EndTime, LocalTime(base, 5, 0)},
                        {RecordField::AnchorTime, newStart},
                        {RecordField::Count, 30},
                        {RecordField::Unit, kMinutes}}));
    EXPECT_TRUE(WaitUntil([&] { return StoredQueueData(2) == rewritten; }));
    const std::optional<StoredQueueRow> row = ReadQueueRow(2);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->data, rewritten);
    EXPECT_EQ(row->queueName, alphaFile);
    EXPECT_EQ(row->version, 1u);
    EXPECT_EQ(row->dataSize, kScheduleRecordSize);
}

TEST_F(QueueTransfersTest, RemoveAsksFirstAndOnlyOkDeletesTheRow) {
    HWND list = OpenList();
    ASSERT_NE(list, nullptr);
    SelectAlpha(list);

    PostClickButton(list, IDC_REMOVE_SCHEDULE);
    HWND box = monitor.WaitForWindow(kRemoveTitle);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Remove:\n" + alphaFile + "\nfrom Queue Transfer Scheduler ?");
    ClickButton(box, IDCANCEL);
    ASSERT_TRUE(WaitForWindowToClose(box));

    PostClickButton(list, IDC_REMOVE_SCHEDULE);
    box = monitor.WaitForWindow(kRemoveTitle);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(QueueRowNames(), (std::vector<std::string>{"1", "2"}));
    ClickButton(box, IDOK);

    EXPECT_TRUE(WaitUntil([] { return QueueRowNames() == std::vector<std::string>{"1"}; }));
    EXPECT_EQ(ListBoxEntries(GetDlgItem(list, IDC_QUEUE_LIST)), std::vector<std::string>{zuluFile});
}

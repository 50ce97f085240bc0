#include "e2e/E2eTest.h"

using QueueTransfersTest = E2eTest;

// Mended: Windows' session end found the program running on; it ends as a confirmed close does.
TEST_F(QueueTransfersTest, ListsSortedAfterPurgeEditsByTheRulesAndRemovesOnlyOnOk) {
    const std::string zuluFile = standIns.CreateQueueFile("Zulu nightly.ftq");
    const std::string alphaFile = standIns.CreateQueueFile("Alpha queue.ftq");
    const std::tm base = ToLocalFields(now).value();
    const auto local = [&base](int daysLater, int second) {
        return FromLocalFields(base.tm_year + 1900, base.tm_mon + 1, base.tm_mday + daysLater,
                               base.tm_hour, base.tm_min, second)
            .value_or(0);
    };
    const ScheduleRecord stored = RecordOf({{RecordField::StartTime, local(2, 42)},
                                            {RecordField::EndTime, local(5, 17)},
                                            {RecordField::AnchorTime, local(1, 0)},
                                            {RecordField::Count, 30}});
    // Seconds cleared, and the period now counted from the new start, later than the old one.
    const ScheduleRecord rewritten = RecordOf({{RecordField::StartTime, local(2, 0)},
                                               {RecordField::EndTime, local(5, 0)},
                                               {RecordField::AnchorTime, local(2, 0)},
                                               {RecordField::Count, 30}});
    SeedQueueRow("1", zuluFile, neverDue);
    SeedQueueRow("2", alphaFile, stored);
    SeedQueueRow("3", standIns.Folder() + "Deleted queue.ftq", stored);
    ASSERT_TRUE(monitor.Start());
    monitor.PostCommand(ID_QUEUE_TRANSFERS);
    HWND dialog = monitor.WaitForWindow("Queue Transfers");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsCentredOnOwner(dialog, monitor.Frame()));
    HWND list = GetDlgItem(dialog, IDC_QUEUE_LIST);
    EXPECT_EQ(ListBoxEntries(list), (std::vector<std::string>{alphaFile, zuluFile}));
    EXPECT_EQ(QueueRowNames(), (std::vector<std::string>{"1", "2"}));
    SelectListEntry(dialog, IDC_QUEUE_LIST, 0);

    for (const auto& [answer, data] : {std::pair{IDCANCEL, stored}, std::pair{IDOK, rewritten}}) {
        PostClickButton(dialog, IDC_EDIT_SCHEDULE);
        HWND editor = monitor.WaitForWindow("Schedule Transfer");
        ASSERT_NE(editor, nullptr);
        EXPECT_TRUE(IsCentredOnOwner(editor, dialog));
        EXPECT_EQ(ItemText(editor, IDC_COUNT), "30");
        ClickButton(editor, answer);
        ASSERT_TRUE(WaitForWindowToClose(editor));
        EXPECT_TRUE(WaitUntil([&data = data] { return StoredQueueData("2") == Bytes(data); }));
    }
    for (const int answer : {IDCANCEL, IDOK}) {
        PostClickButton(dialog, IDC_REMOVE_SCHEDULE);
        HWND box = monitor.WaitForWindow("Remove");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(ItemText(box, kMessageBoxTextId),
                  "Remove:\n" + alphaFile + "\nfrom Queue Transfer Scheduler ?");
        ClickButton(box, answer);
        ASSERT_TRUE(WaitForWindowToClose(box));
    }
    EXPECT_TRUE(WaitUntil([] { return QueueRowNames() == std::vector<std::string>{"1"}; }));
    EXPECT_EQ(ListBoxEntries(list), std::vector<std::string>{zuluFile});

    // Neither a close nor a second list under the open one; the session's end ends it all.
    monitor.PostCommand(ID_EXIT);
    monitor.PostCommand(ID_QUEUE_TRANSFERS);
    EXPECT_EQ(monitor.WaitForWindow("Vantrel Monitor", 1000), nullptr);
    EXPECT_EQ(FindWindowExA(nullptr, nullptr, "#32770", "Queue Transfers"), dialog);
    EXPECT_EQ(FindWindowExA(nullptr, dialog, "#32770", "Queue Transfers"), nullptr);
    EXPECT_TRUE(monitor.EndSession(0));
    EXPECT_TRUE(monitor.WaitForExit(5000));
    EXPECT_FALSE(monitor.IsTrayIconShown());
    EXPECT_EQ(QueueRowNames(), std::vector<std::string>{"1"});
}

// Mended: OK after a tick had run the row under the editor wrote it back, due to run again.
TEST_F(QueueTransfersTest, TickUnderTheEditorRunsTheQueueOnceAndOkWritesNothingBack) {
    const std::string onceFile = standIns.CreateQueueFile("Nightly backup.ftq");
    SeedQueueRow("1", onceFile, dueOnce);
    ASSERT_TRUE(monitor.Start());
    monitor.PostCommand(ID_QUEUE_TRANSFERS);
    HWND dialog = monitor.WaitForWindow("Queue Transfers");
    ASSERT_NE(dialog, nullptr);
    SelectListEntry(dialog, IDC_QUEUE_LIST, 0);
    PostClickButton(dialog, IDC_EDIT_SCHEDULE);
    HWND editor = monitor.WaitForWindow("Schedule Transfer");
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(monitor.Send(WM_TIMER, kSchedulerTimer));
    PostClickButton(editor, IDOK);
    ASSERT_TRUE(WaitForWindowToClose(editor));
    HWND box = WaitForOwnedBox(dialog);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ItemText(box, kMessageBoxTextId),
              "The schedule of\n" + onceFile +
                  "\nchanged while it was being edited and was left as it is now.");
    ClickButton(box, IDOK);
    EXPECT_TRUE(
        WaitUntil([&] { return ListBoxEntries(GetDlgItem(dialog, IDC_QUEUE_LIST)).empty(); }));
    EXPECT_TRUE(QueueRowNames().empty());
    EXPECT_EQ(standIns.ClientStarts(2, 1000), std::vector<std::string>{QueueArgument(onceFile)});
}

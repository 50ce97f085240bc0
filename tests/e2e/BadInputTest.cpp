#include <algorithm>

#include "e2e/E2eTest.h"

constexpr const char* kQueues = registry::kQueueTable;

using BadInputTest = E2eTest;

TEST_F(BadInputTest, OddRowsAreKeptOrPurgedByTheRulesAndOnlyTheValidDueRowRuns) {
    const std::string typedFile = standIns.CreateQueueFile("Typed.ftq");
    // Just below the 260 characters an ANSI path may have, above the 256 bytes that a value's
    // first read takes: read whole.
    const std::string longFile =
        standIns.CreateQueueFile(std::string(258 - typedFile.size() + 5, 'q') + ".ftq");
    ASSERT_EQ(longFile.size(), 258u);
    std::vector<uint8_t> megabyte(1 << 20, 0);
    std::copy(dueOnce.begin(), dueOnce.end(), megabyte.begin());
    const std::string name127 = "8" + std::string(126, 'x');
    // The listing reads names into 128 bytes: it ends at this one; nothing after it is touched.
    const std::string name128 = "9" + std::string(127, '0');
    for (const std::string& row :
         std::vector<std::string>{"01", "1", "2", "4", "5", "6", name127, name128, "92"}) {
        SeedQueueRow(row, typedFile, dueOnce);
    }
    SeedQueueRow("7", longFile, dueOnce);
    SeedQueueRow("90", typedFile, neverDue);
    // Four bytes of any type are an integer to the client: a valid row.
    SeedQueueRow("3", typedFile, neverDue);
    SetDword(kQueues, "1", registry::kQueueNameEntry, 7);
    SetValue(kQueues, "2", registry::kDataEntry, REG_SZ, "0123456789", 11);
    SetValue(kQueues, "3", registry::kVersionEntry, REG_BINARY, "\1\0\0\0", 4);
    SetValue(kQueues, "4", registry::kDataSizeEntry, REG_SZ, "32", 3);
    for (const char* row : {"5", "6"}) {
        SetValue(kQueues, row, registry::kDataEntry, REG_BINARY, megabyte.data(), megabyte.size());
    }
    SetDword(kQueues, "6", registry::kDataSizeEntry, 1 << 20);
    for (const char* row : {"04", "9", "91", "abc"}) {
        SetDword(kQueues, row, registry::kVersionEntry, 2);
    }
    ASSERT_EQ(QueueRowNames(),
              (std::vector<std::string>{"01", "04", "1", "2", "3", "4", "5", "6", "7", name127, "9",
                                        "90", name128, "91", "92", "abc"}));
    ASSERT_TRUE(monitor.Start());
    ASSERT_TRUE(monitor.Send(WM_TIMER, kSchedulerTimer));
    ASSERT_TRUE(standIns.WaitUntilClientEnds());
    ASSERT_TRUE(monitor.Send(WM_TIMER, kSchedulerTimer));
    EXPECT_EQ(monitor.LogMessages(), Lines({longFile}));
    EXPECT_EQ(standIns.ClientStarts(1, 5000), std::vector<std::string>{QueueArgument(longFile)});
    EXPECT_EQ(QueueRowNames(),
              (std::vector<std::string>{"01", "04", "2", "3", "4", "5", "6", name127, "90", name128,
                                        "91", "92", "abc"}));
    EXPECT_EQ(StoredQueueData("5"), megabyte);

    // The table deleted under the open dialog: Remove and Edit find nothing and ask nothing.
    monitor.PostCommand(ID_QUEUE_TRANSFERS);
    HWND dialog = monitor.WaitForWindow("Queue Transfers");
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, IDC_QUEUE_LIST);
    ASSERT_EQ(ListBoxEntries(list), (std::vector<std::string>{typedFile, typedFile}));
    SelectListEntry(dialog, IDC_QUEUE_LIST, 0);
    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, kQueues), ERROR_SUCCESS);
    ClickButton(dialog, IDC_REMOVE_SCHEDULE);
    EXPECT_EQ(monitor.WaitForWindow("Remove", 0), nullptr);
    EXPECT_EQ(ListBoxEntries(list), (std::vector<std::string>{typedFile, typedFile}));
    ClickButton(dialog, IDC_EDIT_SCHEDULE);
    EXPECT_EQ(monitor.WaitForWindow("Schedule Transfer", 0), nullptr);
    EXPECT_TRUE(ListBoxEntries(list).empty());
    ClickButton(dialog, IDOK);
    EXPECT_TRUE(WaitForWindowToClose(dialog));
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, kQueues), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(monitor.LogMessages(), Lines({longFile}));
    EXPECT_TRUE(monitor.Send(WM_NULL, 0, 5000));
}

// Mended: a start that failed was logged as a run and its run-once row deleted: the queue never
// ran. The failure is said once, in red, however often it recurs; the row waits for the client.
TEST_F(BadInputTest, HugeTextsAndAMissingClientProgramAreSaidOnceAndTheQueueWaitsForTheClient) {
    const std::string installFolder = standIns.Folder() + "Empty install";
    const StandIns installed(installFolder + "\\");
    CreateDirectoryA(installFolder.c_str(), nullptr);
    DeleteFileA((installFolder + "\\Vantrel.exe").c_str());
    installed.Reset();
    ResetRegistry(installFolder);
    SetUrlMonitorPreference(1);
    const std::string queueFile = standIns.CreateQueueFile("Nightly.ftq");
    SeedQueueRow("1", queueFile, dueOnce);
    const std::string filler(10 << 20, 'w');
    const std::string url = "ftp://files.example.com/big.iso";
    const std::string longUrl = "ftp://files.example.com/" + std::string(100000 - 24, 'a');
    ASSERT_TRUE(monitor.Start());

    // Cut to its first word, the huge text is no URL; a huge URL is logged whole.
    for (const std::string& text :
         std::vector<std::string>{filler, url + "\r\n" + filler, longUrl}) {
        ASSERT_TRUE(CopyToClipboard(text));
        ASSERT_TRUE(monitor.Send(WM_TIMER, kUrlMonitorTimer));
    }
    for (int pass = 0; pass < 3; ++pass) {
        ASSERT_TRUE(monitor.Send(WM_TIMER, kSchedulerTimer));
    }
    ASSERT_TRUE(monitor.Send(WM_COMMAND, ID_START_CLIENT));
    std::vector<std::string> log = monitor.LogMessages();
    ASSERT_EQ(log.size(), 7u);
    const std::string failed = log[4];
    EXPECT_EQ(failed.rfind("Could not start \"" + installFolder + "\\Vantrel.exe\": ", 0), 0u);
    EXPECT_EQ(log,
              Lines({}, {kStartingLine, "URL: " + url, failed, kStartingLine, "URL: " + longUrl}));
    EXPECT_EQ(QueueRowNames(), std::vector<std::string>{"1"});
    EXPECT_EQ(monitor.WaitForWindow(nullptr, 1000), nullptr);

    ASSERT_TRUE(CopyFileA((standIns.Folder() + "Vantrel.exe").c_str(),
                          (installFolder + "\\Vantrel.exe").c_str(), FALSE));
    ASSERT_TRUE(monitor.Send(WM_TIMER, kSchedulerTimer));
    EXPECT_EQ(installed.ClientStarts(1, 5000), std::vector<std::string>{QueueArgument(queueFile)});
    log = Lines({queueFile});
    log.insert(log.begin() + 2,
               {kStartingLine, "URL: " + url, failed, kStartingLine, "URL: " + longUrl});
    EXPECT_EQ(monitor.LogMessages(), log);
    EXPECT_TRUE(QueueRowNames().empty());
    EXPECT_TRUE(monitor.Send(WM_NULL, 0, 5000));
}

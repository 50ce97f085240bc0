#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/RegistryLayout.h"
#include "e2e/MonitorHarness.h"
#include "res/resource.h"

namespace {

constexpr UINT_PTR kUrlMonitorTimer = 1;
constexpr UINT_PTR kSchedulerTimer = 2;
constexpr Time32 kHour = 3600;
constexpr Time32 kYear = 365 * 86400;
// A pass over ten thousand rows takes seconds under Wine; the program must still answer.
constexpr DWORD kLongPassMs = 120000;
constexpr DWORD kResponseMs = 5000;
constexpr int kManyRows = 10000;
// Longer than the rest of a pass over that many rows takes after its first start.
constexpr DWORD kClientHoldMs = 8000;

const std::vector<std::string> kStartedLines = {"Vantrel Monitor started.", ""};
const std::string kTransferringLine = "Transfert Scheduler - Transferring Queue:";
const std::string kNoMoreRunsLine = "No more scheduled transfert for this queue.";
const std::string kStartingLine = "URL Monitor: Starting Vantrel.";
const std::string kResumingLine = "Resuming interrupted transfers.";
// Text on the clipboard at start-up counts as seen: it must differ from every text a test copies.
const std::string kStartUpText = "text already there at start-up";

std::string QueueArgument(const std::string& queueFile) {
    return "\"ftq://" + queueFile + "\"";
}

std::vector<std::string> Lines(std::initializer_list<std::string> added) {
    std::vector<std::string> lines = kStartedLines;
    lines.insert(lines.end(), added);
    return lines;
}

std::vector<std::string> StartThenRun(const std::string& queueFile) {
    return Lines({kTransferringLine, queueFile, kNoMoreRunsLine});
}

// A subkey of one of the tables, written value by value through the plain registry API, so that
// any name, type and size can be stored.
class RawRow {
public:
    RawRow(const char* table, const std::string& name) {
        const std::string path = std::string(table) + "\\" + name;
        RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key_,
                        nullptr);
    }
    ~RawRow() { RegCloseKey(key_); }
    RawRow(const RawRow&) = delete;
    RawRow& operator=(const RawRow&) = delete;

    RawRow& Set(const char* value, DWORD type, const void* bytes, size_t size) {
        RegSetValueExA(key_, value, 0, type, static_cast<const BYTE*>(bytes),
                       static_cast<DWORD>(size));
        return *this;
    }
    RawRow& Dword(const char* value, DWORD number) {
        return Set(value, REG_DWORD, &number, sizeof number);
    }
    RawRow& String(const char* value, const std::string& text) {
        return Set(value, REG_SZ, text.c_str(), text.size() + 1);
    }
    RawRow& Binary(const char* value, const std::vector<uint8_t>& bytes) {
        return Set(value, REG_BINARY, bytes.data(), bytes.size());
    }

private:
    HKEY key_ = nullptr;
};

// All four values as the client writes them; the caller may then spoil one.
RawRow& WriteQueueRow(RawRow& row, const std::string& queueFile, const ScheduleRecord& record) {
    return row.Dword(registry::kVersionEntry, 1)
        .String(registry::kQueueNameEntry, queueFile)
        .Dword(registry::kDataSizeEntry, kScheduleRecordSize)
        .Binary(registry::kDataEntry, Bytes(record));
}

void SeedNamedQueueRow(const std::string& name, const std::string& queueFile,
                       const ScheduleRecord& record) {
    RawRow row(registry::kQueueTable, name);
    WriteQueueRow(row, queueFile, record);
}

bool TableExists(const char* table) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, table, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM parameter) {
            auto* search = reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == search->processId && IsWindowVisible(window)) {
                search->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class BadInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        standIns.Reset();
        ResetRegistry(standIns.Folder());
        SetUrlMonitorPreference(1);
        ASSERT_TRUE(CopyToClipboard(kStartUpText));
        // A client still running from an earlier test would turn every pass away.
        ASSERT_TRUE(standIns.WaitUntilClientEnds(kClientHoldMs * 2));
    }

    void TearDown() override { standIns.WaitUntilClientEnds(kClientHoldMs * 2); }

    // Starts the program and waits until it has gone to the tray.
    void StartMonitor(MonitorProcess& process) {
        ASSERT_TRUE(process.Start());
        ASSERT_TRUE(WaitUntil(
            [&process] { return !IsWindowVisible(process.Frame()) && process.IsTrayIconShown(); }));
    }

    // Sends a message and reports whether the program handled it within the time.
    static bool Answers(const MonitorProcess& process, UINT message, WPARAM wParam,
                        DWORD waitMs = kResponseMs) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(process.Frame(), message, wParam, 0, SMTO_ABORTIFHUNG, waitMs,
                                   &result) != 0;
    }

    static DWORD ProcessIdOf(const MonitorProcess& process) {
        DWORD processId = 0;
        GetWindowThreadProcessId(process.Frame(), &processId);
        return processId;
    }

    // Rows "1" to "count", never due, all naming one existing queue file.
    void SeedManyRows(int count, const std::string& queueFile) const {
        for (int row = 1; row <= count; ++row) {
            SeedNamedQueueRow(std::to_string(row), queueFile, neverDue);
        }
    }

    StandIns standIns;
    MonitorProcess monitor;
    const Time32 now = Now();
    const ScheduleRecord dueOnce = RecordOf({{RecordField::StartTime, now - kHour},
                                             {RecordField::AnchorTime, now - kHour},
                                             {RecordField::OnceFlag, 1}});
    const ScheduleRecord neverDue = RecordOf({{RecordField::StartTime, now + kYear},
                                              {RecordField::AnchorTime, now + kYear},
                                              {RecordField::OnceFlag, 1}});
};

}  // namespace

TEST_F(BadInputTest, ValuesOfTheWrongTypeReadAsMissing) {
    const std::string queueFile = standIns.CreateQueueFile("Typed.ftq");
    const std::string dueFile = standIns.CreateQueueFile("Due.ftq");
    {
        RawRow dwordName(registry::kQueueTable, "1");
        WriteQueueRow(dwordName, queueFile, dueOnce).Dword(registry::kQueueNameEntry, 7);
        RawRow stringData(registry::kQueueTable, "2");
        WriteQueueRow(stringData, queueFile, dueOnce).String(registry::kDataEntry, "0123456789");
        RawRow binaryVersion(registry::kQueueTable, "3");
        WriteQueueRow(binaryVersion, queueFile, dueOnce)
            .Binary(registry::kVersionEntry, {1, 0, 0, 0});
        RawRow stringSize(registry::kQueueTable, "4");
        WriteQueueRow(stringSize, queueFile, dueOnce).String(registry::kDataSizeEntry, "32");
    }
    SeedNamedQueueRow("5", dueFile, dueOnce);
    StartMonitor(monitor);

    ASSERT_TRUE(Answers(monitor, WM_TIMER, kSchedulerTimer));

    // A name that does not read fails the file test and a version that does not read is not 1:
    // both rows go. Data and DataSize that do not read only keep their rows from running.
    EXPECT_EQ(monitor.LogMessages(), StartThenRun(dueFile));
    EXPECT_EQ(standIns.ClientStarts(1, 5000), std::vector<std::string>{QueueArgument(dueFile)});
    EXPECT_EQ(QueueRowNames(), (std::vector<std::string>{"2", "4"}));
}

TEST_F(BadInputTest, AQueueNameLongerThanAFirstReadHoldsIsReadWhole) {
    // Just below the 260 characters that a file's ANSI path may have, above the 256 bytes that a
    // value's first read takes.
    constexpr size_t kPathLength = 258;
    const std::string folder = standIns.CreateQueueFile("Short.ftq");
    const size_t folderLength = folder.size() - std::string("Short.ftq").size();
    ASSERT_LT(folderLength, kPathLength - 8);
    const std::string longFile =
        standIns.CreateQueueFile(std::string(kPathLength - folderLength - 4, 'q') + ".ftq");
    ASSERT_EQ(longFile.size(), kPathLength);
    SeedNamedQueueRow("1", longFile, dueOnce);
    StartMonitor(monitor);

    ASSERT_TRUE(Answers(monitor, WM_TIMER, kSchedulerTimer));

    EXPECT_EQ(monitor.LogMessages(), StartThenRun(longFile));
    EXPECT_EQ(standIns.ClientStarts(1, 5000), std::vector<std::string>{QueueArgument(longFile)});
}

TEST_F(BadInputTest, AMegabyteOfDataKeepsItsRowWithoutEverRunningIt) {
    const std::string queueFile = standIns.CreateQueueFile("Large.ftq");
    std::vector<uint8_t> megabyte(1 << 20, 0);
    std::copy(dueOnce.begin(), dueOnce.end(), megabyte.begin());
    {
        RawRow statedSmall(registry::kQueueTable, "1");
        WriteQueueRow(statedSmall, queueFile, dueOnce).Binary(registry::kDataEntry, megabyte);
        RawRow statedLarge(registry::kQueueTable, "2");
        WriteQueueRow(statedLarge, queueFile, dueOnce)
            .Binary(registry::kDataEntry, megabyte)
            .Dword(registry::kDataSizeEntry, static_cast<DWORD>(megabyte.size()));
    }
    StartMonitor(monitor);

    for (int pass = 0; pass < 3; ++pass) {
        ASSERT_TRUE(Answers(monitor, WM_TIMER, kSchedulerTimer));
    }

    EXPECT_EQ(monitor.LogMessages(), kStartedLines);
    EXPECT_TRUE(standIns.ClientStarts().empty());
    EXPECT_EQ(QueueRowNames(), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(StoredQueueData(1), megabyte);
}

TEST_F(BadInputTest, TenThousandRowsArePassedOverWithoutALineAndOnlyInvalidOnesGo) {
    SeedManyRows(kManyRows, standIns.CreateQueueFile("Many.ftq"));
    for (int row = 1000; row <= kManyRows; row += 1000) {
        RawRow(registry::kQueueTable, std::to_string(row)).Dword(registry::kVersionEntry, 2);
    }
    std::vector<std::string> kept;
    for (const std::string& name : QueueRowNames()) {
        if (std::stoi(name) % 1000 != 0) {
            kept.push_back(name);
        }
    }
    StartMonitor(monitor);

    ASSERT_TRUE(Answers(monitor, WM_TIMER, kSchedulerTimer, kLongPassMs));
    ASSERT_TRUE(Answers(monitor, WM_TIMER, kSchedulerTimer, kLongPassMs));

    EXPECT_TRUE(Answers(monitor, WM_NULL, 0));
    EXPECT_EQ(monitor.LogMessages(), kStartedLines);
    EXPECT_EQ(QueueRowNames(), kept);
}

TEST_F(BadInputTest, ANameTooLongForTheListingEndsThePassThereAndNothingAfterItIsTouched) {
    const std::string firstFile = standIns.CreateQueueFile("First.ftq");
    const std::string laterFile = standIns.CreateQueueFile("Later.ftq");
    const std::string name127 = "2" + std::string(126, 'x');
    const std::string name128 = "5" + std::string(127, 'x');
    SeedNamedQueueRow("1", firstFile, dueOnce);
    SeedNamedQueueRow(name127, firstFile, dueOnce);
    RawRow(registry::kQueueTable, "3").Dword(registry::kVersionEntry, 2);
    SeedNamedQueueRow(name128, laterFile, dueOnce);
    SeedNamedQueueRow("7", laterFile, dueOnce);
    RawRow(registry::kQueueTable, "8").Dword(registry::kVersionEntry, 2);
    ASSERT_EQ(QueueRowNames(), (std::vector<std::string>{"1", name127, "3", name128, "7", "8"}));
    StartMonitor(monitor);

    ASSERT_TRUE(Answers(monitor, WM_TIMER, kSchedulerTimer));

    // The listing reads names into 128 bytes: it ends at the 128-character name, so rows 7 and 8
    // are neither run nor purged; the 127-character name is listed but is no row number.
    EXPECT_EQ(monitor.LogMessages(), StartThenRun(firstFile));
    EXPECT_EQ(standIns.ClientStarts(1, 5000), std::vector<std::string>{QueueArgument(firstFile)});
    EXPECT_EQ(QueueRowNames(), (std::vector<std::string>{name127, name128, "7", "8"}));
}

TEST_F(BadInputTest, QueueRowsNamedOutsideTheNumberFormAreNeitherRunNorDeleted) {
    const std::string dueFile = standIns.CreateQueueFile("Due.ftq");
    SeedNamedQueueRow("1", standIns.CreateQueueFile("Later.ftq"), neverDue);
    SeedNamedQueueRow("01", standIns.CreateQueueFile("Padded.ftq"), dueOnce);
    RawRow(registry::kQueueTable, "abc").Dword(registry::kVersionEntry, 2);
    SeedNamedQueueRow("2", dueFile, dueOnce);
    StartMonitor(monitor);

    ASSERT_TRUE(Answers(monitor, WM_TIMER, kSchedulerTimer));
    ASSERT_TRUE(Answers(monitor, WM_TIMER, kSchedulerTimer));

    EXPECT_EQ(monitor.LogMessages(), StartThenRun(dueFile));
    EXPECT_EQ(standIns.ClientStarts(1, 5000), std::vector<std::string>{QueueArgument(dueFile)});
    EXPECT_EQ(QueueRowNames(), (std::vector<std::string>{"01", "1", "abc"}));
}

TEST_F(BadInputTest, TransferRowsOddlyNamedOrOfTheWrongTypeAreCountedAndResumedByTheRules) {
    RawRow(registry::kTransferTable, "01").Dword(registry::kVersionEntry, 1);
    RawRow(registry::kTransferTable, "abc").Dword(registry::kVersionEntry, 1);
    RawRow(registry::kTransferTable, "5").Binary(registry::kVersionEntry, {1, 0, 0, 0});
    RawRow(registry::kTransferTable, "6").String(registry::kVersionEntry, "1");
    StartMonitor(monitor);
    HWND question = monitor.WaitForWindow("Vantrel - Rushload");
    ASSERT_NE(question, nullptr);

    ClickButton(question, IDOK);

    // Versions that do not read as numbers are not 1: those rows are deleted by the count. The
    // others are resumed by the numbers their names read as, and "abc" reads as 0, which is none.
    EXPECT_EQ(monitor.WaitForLogMessages(3), Lines({kResumingLine}));
    EXPECT_EQ(standIns.DownloaderStarts(1, 5000), std::vector<std::string>{"fdb://1"});
    EXPECT_EQ(TransferRowNames(), (std::vector<std::string>{"01", "abc"}));
    EXPECT_TRUE(Answers(monitor, WM_NULL, 0));
}

TEST_F(BadInputTest, HugeClipboardTextIsCutToItsFirstWordAndAHugeUrlIsLoggedWhole) {
    const std::string filler(10 << 20, 'w');
    const std::string url = "ftp://files.example.com/big.iso";
    const std::string longUrl = "ftp://files.example.com/" + std::string(100000 - 24, 'a');
    StartMonitor(monitor);

    ASSERT_TRUE(CopyToClipboard(filler));
    ASSERT_TRUE(Answers(monitor, WM_TIMER, kUrlMonitorTimer));
    EXPECT_EQ(monitor.LogMessages(), kStartedLines);

    ASSERT_TRUE(CopyToClipboard(url + "\r\n" + filler));
    ASSERT_TRUE(Answers(monitor, WM_TIMER, kUrlMonitorTimer));
    EXPECT_EQ(monitor.LogMessages(), Lines({kStartingLine, "URL: " + url}));
    EXPECT_EQ(standIns.ClientStarts(1, 5000), std::vector<std::string>{""});
    ASSERT_TRUE(standIns.WaitUntilClientEnds());

    ASSERT_EQ(longUrl.size(), 100000u);
    ASSERT_TRUE(CopyToClipboard(longUrl));
    ASSERT_TRUE(Answers(monitor, WM_TIMER, kUrlMonitorTimer));
    EXPECT_EQ(monitor.LogMessages(),
              Lines({kStartingLine, "URL: " + url, kStartingLine, "URL: " + longUrl}));
    EXPECT_EQ(standIns.ClientStarts(2, 5000), (std::vector<std::string>{"", ""}));
}

TEST_F(BadInputTest, AMissingInstallFolderOrProgramStartsNothingAndShowsNothing) {
    const std::string emptyFolder = standIns.Folder() + "Empty install";
    CreateDirectoryA(emptyFolder.c_str(), nullptr);
    const struct {
        const char* name;
        std::optional<std::string> installPath;
    } cases[] = {
        {"no Path value", std::nullopt},
        {"a folder that does not exist", standIns.Folder() + "No such folder"},
        {"a folder without the client", emptyFolder},
    };
    const std::string url = "ftp://files.example.com/pub/";
    for (const auto& install : cases) {
        SCOPED_TRACE(install.name);
        const std::string queueFile = standIns.CreateQueueFile("Nightly.ftq");
        ResetRegistry(install.installPath.value_or(""));
        if (!install.installPath) {
            RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, registry::kSettingsKey,
                               registry::kInstallPathValue);
        }
        SetUrlMonitorPreference(1);
        SeedNamedQueueRow("1", queueFile, dueOnce);
        ASSERT_TRUE(CopyToClipboard(kStartUpText));
        MonitorProcess process;
        StartMonitor(process);

        ASSERT_TRUE(Answers(process, WM_TIMER, kSchedulerTimer));
        ASSERT_TRUE(CopyToClipboard(url));
        ASSERT_TRUE(Answers(process, WM_TIMER, kUrlMonitorTimer));
        ASSERT_TRUE(Answers(process, WM_COMMAND, ID_START_CLIENT));

        // The lines come before the start, whose failure the rules leave unnoticed.
        EXPECT_EQ(process.LogMessages(), Lines({kTransferringLine, queueFile, kNoMoreRunsLine,
                                                kStartingLine, "URL: " + url}));
        EXPECT_EQ(QueueRowNames(), std::vector<std::string>{});
        EXPECT_TRUE(VisibleWindowsOf(ProcessIdOf(process)).empty());
        EXPECT_TRUE(standIns.ClientStarts(1, 1000).empty());
        EXPECT_TRUE(Answers(process, WM_NULL, 0));
    }
}

TEST_F(BadInputTest, TheTableDeletedUnderAnOpenQueueTransfersDialogLeavesEditAndRemoveQuiet) {
    const std::string firstFile = standIns.CreateQueueFile("First.ftq");
    const std::string secondFile = standIns.CreateQueueFile("Second.ftq");
    SeedNamedQueueRow("1", firstFile, neverDue);
    SeedNamedQueueRow("2", secondFile, neverDue);
    StartMonitor(monitor);
    monitor.PostCommand(ID_QUEUE_TRANSFERS);
    HWND dialog = monitor.WaitForWindow("Queue Transfers");
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, IDC_QUEUE_LIST);
    ASSERT_EQ(ListBoxEntries(list), (std::vector<std::string>{firstFile, secondFile}));
    SelectListEntry(dialog, IDC_QUEUE_LIST, 0);

    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, registry::kQueueTable), ERROR_SUCCESS);
    ClickButton(dialog, IDC_REMOVE_SCHEDULE);
    EXPECT_EQ(monitor.WaitForWindow("Remove", 0), nullptr);
    EXPECT_EQ(ListBoxEntries(list), (std::vector<std::string>{firstFile, secondFile}));
    ClickButton(dialog, IDC_EDIT_SCHEDULE);
    EXPECT_EQ(monitor.WaitForWindow("Schedule Transfer", 0), nullptr);
    EXPECT_TRUE(ListBoxEntries(list).empty());

    ClickButton(dialog, IDOK);
    EXPECT_TRUE(WaitForWindowToClose(dialog));
    EXPECT_FALSE(TableExists(registry::kQueueTable));
    EXPECT_EQ(monitor.LogMessages(), kStartedLines);
    EXPECT_TRUE(Answers(monitor, WM_NULL, 0));
}

TEST_F(BadInputTest, AClientAppearingDuringAPassKeepsTheLaterDueRowForTheNextPass) {
    SeedManyRows(kManyRows, standIns.CreateQueueFile("Many.ftq"));
    // The pass walks the listing from its end: its last row is started first, and its first row
    // comes seconds later, long after the client started for the other has made its event.
    const std::vector<std::string> listing = QueueRowNames();
    const std::string firstWalked = standIns.CreateQueueFile("First walked.ftq");
    const std::string lastWalked = standIns.CreateQueueFile("Last walked.ftq");
    SeedNamedQueueRow(listing.back(), firstWalked, dueOnce);
    SeedNamedQueueRow(listing.front(), lastWalked, dueOnce);
    standIns.HoldClientFor(kClientHoldMs);
    StartMonitor(monitor);

    ASSERT_TRUE(Answers(monitor, WM_TIMER, kSchedulerTimer, kLongPassMs));
    EXPECT_EQ(monitor.LogMessages(), StartThenRun(firstWalked));
    EXPECT_EQ(standIns.ClientStarts(1, 5000), std::vector<std::string>{QueueArgument(firstWalked)});
    EXPECT_EQ(QueueRowNames().size(), static_cast<size_t>(kManyRows - 1));
    standIns.HoldClientFor(0);

    ASSERT_TRUE(standIns.WaitUntilClientEnds(kClientHoldMs * 2));
    ASSERT_TRUE(Answers(monitor, WM_TIMER, kSchedulerTimer, kLongPassMs));
    std::vector<std::string> expected = StartThenRun(firstWalked);
    expected.insert(expected.end(), {kTransferringLine, lastWalked, kNoMoreRunsLine});
    EXPECT_EQ(monitor.LogMessages(), expected);
    EXPECT_EQ(standIns.ClientStarts(2, 5000),
              (std::vector<std::string>{QueueArgument(firstWalked), QueueArgument(lastWalked)}));
    EXPECT_EQ(QueueRowNames().size(), static_cast<size_t>(kManyRows - 2));
}

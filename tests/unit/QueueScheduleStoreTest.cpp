#include "scheduler/CQueueScheduleStore.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/FileSystem.h"
#include "core/RegistryLayout.h"
#include "scheduler/QueueSchedules.h"
#include "shared/Fakes.h"
#include "shared/MemorySettingsStore.h"

namespace {

struct StoredRow {
    int32_t version = 1, dataSize = 32;
    std::optional<std::vector<uint8_t>> data = std::vector<uint8_t>(32, 0xA5);
    std::string queuePath = "C:\\q.ftq";  // a queue file that exists unless named "gone"
};

struct QueueStore : ::testing::Test {
    void Seed(const std::string& name, const StoredRow& row = {}) {
        const std::string section = std::string(registry::kQueueSection) + "\\" + name;
        settings.WriteInt(section, "DBVER", row.version);
        settings.WriteString(section, "QueueName", row.queuePath);
        settings.WriteInt(section, "DataSize", row.dataSize);
        if (row.data) {
            settings.WriteBinary(section, "Data", *row.data);
        }
        files.files.insert(row.queuePath.find("gone") == std::string::npos ? row.queuePath : "");
    }

    MemorySettingsStore settings;
    FakeFileSystem files;
    CQueueScheduleStore store{settings, files};
};

}  // namespace

TEST_F(QueueStore, ReadRowYieldsOnlyValidRowsButAlwaysTheStoredName) {
    const std::vector<uint8_t> shortData(31), data(32);
    const StoredRow invalid[] = {
        {0}, {2}, {1, 33}, {1, 32, {}}, {1, 32, shortData}, {1, 32, data, ""}};
    for (int row = 1; row <= 6; ++row) {
        Seed(std::to_string(row), invalid[row - 1]);
        std::string name = "before";
        EXPECT_EQ(store.ReadRow(row, name), std::nullopt) << row;
        EXPECT_EQ(name, invalid[row - 1].queuePath);
    }
    Seed("0");
    std::string name = "kept";
    EXPECT_EQ(store.ReadRow(0, name), std::nullopt);
    EXPECT_EQ(name, "kept");
}

// Mended: the purge deleted by the number read from a name, so "01" or "abc" took row 1 or 0; and
// a row that the client gave to another queue while the files were tested.
TEST_F(QueueStore, PurgeDeletesExactlyTheInvalidRowsItTestedAndFindTakesTheLastExactName) {
    for (const std::string name : {"0", "1", "5"}) {
        Seed(name, {1, 0, std::nullopt});
    }
    for (const std::string name : {"01", "2", "8", "abc"}) {
        Seed(name, {1, 32, std::nullopt, "C:\\gone " + name});
    }
    Seed("3", {2});
    Seed("60", {0});
    Seed("4", {1, 32, std::nullopt, ""});
    settings.CreateKey(MemorySettingsStore::Hive::User, std::string(registry::kQueueTable) + "\\6");
    const std::string overlong(128, '7');  // ends the listing
    Seed(overlong);
    files.onProbe = [&] { Seed("2", {1, 32, std::nullopt, "C:\\gone, and reused"}); };
    store.Purge();
    EXPECT_EQ(store.Enumerate(), (std::vector<int>{0, 1, 2, 5}));
    EXPECT_EQ(store.FindByName("C:\\gone 01"), 0);
    settings.DeleteTree(MemorySettingsStore::Hive::User,
                        std::string(registry::kQueueTable) + "\\" + overlong);
    EXPECT_EQ(settings.ListSubkeys(registry::kQueueTable, KeyAccess::Read),
              (std::vector<std::string>{"0", "01", "1", "2", "5", "8", "abc"}));
    files.onProbe = nullptr;
    Seed("2", {1, 32, std::nullopt, "C:\\Q\\a.ftq"});
    Seed("10", {1, 32, std::nullopt, "C:\\Q\\a.ftq"});
    EXPECT_EQ(store.FindByName("C:\\Q\\a.ftq"), 10);
    EXPECT_EQ(store.FindByName("c:\\q\\a.ftq"), 0);
}

// Mended: opening the list purged the rows of a running client, which may be half written.
TEST_F(QueueStore, TheListPurgesOnlyWhileTheClientIsNotRunning) {
    Seed("1");
    Seed("2", {0});
    FakeCompanions companions;
    FakeTicks ticks;
    ClientLauncher launcher(companions, ticks);
    const FakeClock clock;
    ModalState modals;
    QueueSchedules schedules(settings, files, launcher, clock, modals);
    for (const bool running : {true, false}) {
        companions.presentEvents = {running ? companions::kClientEvent : ""};
        EXPECT_EQ(schedules.List(), std::vector<std::string>{"C:\\q.ftq"});
        EXPECT_EQ(store.Enumerate().size(), running ? 2u : 1u);
    }
}

TEST(PathRoot, IsTheDriveOrShareThatHoldsThePath) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Queues\\a.ftq", "C:\\"},
        {"d:a.ftq", "d:\\"},
        {"\\\\server\\share\\dir\\a.ftq", "\\\\server\\share\\"},
        {"//server/share/a.ftq", "\\\\server\\share\\"},
        {"\\\\server", "\\\\server\\\\"},
        {"\\Queues\\a.ftq", "\\"},
        {"a.ftq", ""},
        {"", ""}};
    for (const auto& [path, root] : cases) {
        EXPECT_EQ(PathRoot(path), root) << path;
    }
}

// Mended: run elevated, the program sees no VirtualStore, and the rows of queue files that the
// standard-user client wrote under Program Files were purged as gone.
TEST(VirtualStore, AFileOnlyInTheStoreOfAVirtualizedFolderIsOutOfReach) {
    const VirtualStore store{{"C:\\Program Files (x86)", "c:\\windows\\"}, "C:\\Users\\u\\VS"};
    const std::pair<const char*, std::optional<std::string>> copies[] = {
        {"C:\\Program Files (x86)\\Vantrel\\a.ftq",
         "C:\\Users\\u\\VS\\Program Files (x86)\\Vantrel\\a.ftq"},
        {"c:/PROGRAM FILES (X86)/a.ftq", "C:\\Users\\u\\VS/PROGRAM FILES (X86)/a.ftq"},
        {"C:\\Windows\\a.ftq", "C:\\Users\\u\\VS\\Windows\\a.ftq"},
        {"C:\\Program Files (x86)x\\a.ftq", std::nullopt},
        {"C:\\Program Files (x86)", std::nullopt},
        {"D:\\Program Files (x86)\\a.ftq", std::nullopt},
        {"\\\\server\\share\\a.ftq", std::nullopt}};
    for (const auto& [path, copy] : copies) {
        EXPECT_EQ(VirtualStoreCopy(path, store), copy) << path;
    }
    const FileCheck present{FileState::Present, {}}, absent{FileState::Absent, {}},
        away{FileState::OutOfReach, "Not ready."};
    const std::tuple<FileCheck, FileCheck, FileCheck> checks[] = {
        {absent, present, {FileState::OutOfReach, kOnlyInVirtualStoreReason}},
        {absent, absent, absent},
        {absent, away, away},
        {present, absent, present},
        {away, present, away}};
    for (const auto& [original, copy, result] : checks) {
        EXPECT_EQ(WithVirtualStoreCopy(original, copy), result);
    }
}

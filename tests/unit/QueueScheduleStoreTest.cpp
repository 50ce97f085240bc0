#include "scheduler/CQueueScheduleStore.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/MemorySettingsStore.h"
#include "core/RegistryLayout.h"
#include "shared/Fakes.h"

namespace {

const std::string kTable = "Software\\Morrowfen\\VANTREL\\CurrentVersion\\Scheduler\\Queue";

struct StoredRow {
    int32_t version = 1;
    std::string queuePath = "C:\\Queues\\night.ftq";
    int32_t dataSize = 32;
    std::optional<std::vector<uint8_t>> data = std::vector<uint8_t>(32, 0xA5);
};

class QueueStore : public ::testing::Test {
protected:
    void Seed(const std::string& name, const StoredRow& row = {}, bool fileExists = true) {
        const std::string section = "CurrentVersion\\Scheduler\\Queue\\" + name;
        settings.WriteInt(section, "DBVER", row.version);
        settings.WriteString(section, "QueueName", row.queuePath);
        settings.WriteInt(section, "DataSize", row.dataSize);
        if (row.data) {
            settings.WriteBinary(section, "Data", *row.data);
        }
        if (fileExists) {
            files.files.insert(row.queuePath);
        }
    }
    StoredRow Named(const std::string& queuePath) {
        StoredRow row;
        row.queuePath = queuePath;
        return row;
    }
    std::vector<std::string> Subkeys() { return settings.ListSubkeys(kTable, KeyAccess::Read); }

    MemorySettingsStore settings;
    FakeFileSystem files;
    CQueueScheduleStore store{settings, files};
};

}  // namespace

TEST_F(QueueStore, MissingTableListsFindsAndPurgesNothing) {
    store.Purge();
    EXPECT_TRUE(store.Enumerate().empty());
    EXPECT_EQ(store.FindByName(""), 0);
    EXPECT_EQ(store.FindFreeRow(), 1);
    EXPECT_FALSE(settings.KeyExists(MemorySettingsStore::Hive::User, kTable));
}

TEST_F(QueueStore, FreeRowIsTheFirstWhoseDataSizeReadsZero) {
    for (const char* row : {"1", "2", "4"}) {
        Seed(row);
    }
    EXPECT_EQ(store.FindFreeRow(), 3);
    settings.WriteInt("CurrentVersion\\Scheduler\\Queue\\1", "DataSize", 0);
    EXPECT_EQ(store.FindFreeRow(), 1);
}

TEST_F(QueueStore, ReadRowYieldsOnlyFullyValidRowsButAlwaysTheStoredName) {
    const std::vector<std::pair<const char*, std::function<void(StoredRow&)>>> invalid = {
        {"DBVER 0", [](StoredRow& r) { r.version = 0; }},
        {"DBVER 2", [](StoredRow& r) { r.version = 2; }},
        {"DataSize 0", [](StoredRow& r) { r.dataSize = 0; }},
        {"DataSize 33", [](StoredRow& r) { r.dataSize = 33; }},
        {"Data 31 bytes", [](StoredRow& r) { r.data->resize(31); }},
        {"Data 33 bytes", [](StoredRow& r) { r.data->resize(33); }},
        {"no Data", [](StoredRow& r) { r.data.reset(); }},
        {"empty QueueName", [](StoredRow& r) { r.queuePath.clear(); }},
    };
    for (const auto& [what, spoil] : invalid) {
        StoredRow row;
        spoil(row);
        Seed("1", row);
        std::string name = "before";
        EXPECT_EQ(store.ReadRow(1, name), std::nullopt) << what;
        EXPECT_EQ(name, row.queuePath) << what;
        settings.DeleteSubkey(kTable, "1");
    }
    Seed("2");
    settings.SetRaw(MemorySettingsStore::Hive::User, kTable + "\\2", "Data", registry::kTypeString,
                    std::vector<uint8_t>(32, 'x'));
    std::string name;
    EXPECT_EQ(store.ReadRow(2, name), std::nullopt) << "Data of another type";
}

TEST_F(QueueStore, RowNumbersBelowOneReadNothingAndLeaveTheName) {
    Seed("0");
    for (int row : {0, -1}) {
        std::string name = "kept";
        EXPECT_EQ(store.ReadRow(row, name), std::nullopt);
        EXPECT_EQ(name, "kept");
    }
}

TEST_F(QueueStore, WrittenRowsReadBackAndAVanishedRowIsCreatedAgain) {
    ScheduleRecord record{};
    record[0] = 0x11;
    record[31] = 0x99;
    store.WriteRow(3, record, "C:\\Queues\\a b.ftq");
    store.DeleteRow(3);
    store.WriteRow(3, record, "C:\\Queues\\a b.ftq");
    std::string name;
    EXPECT_EQ(store.ReadRow(3, name), record);
    EXPECT_EQ(name, "C:\\Queues\\a b.ftq");
    store.WriteRow(0, record, "C:\\Queues\\first free.ftq");
    EXPECT_EQ(store.ReadRow(1, name), record);
    EXPECT_EQ(name, "C:\\Queues\\first free.ftq");
}

TEST_F(QueueStore, PurgeRemovesRowsWithoutTheirFileOrOfAnotherVersionConsecutiveOnesToo) {
    StoredRow badData;
    badData.data->resize(31);
    StoredRow version2;
    version2.version = 2;
    Seed("1");
    Seed("2", Named("C:\\Queues\\gone.ftq"), false);
    Seed("3", version2);
    Seed("4", Named(""));
    Seed("5", badData);
    settings.CreateKey(MemorySettingsStore::Hive::User, kTable + "\\6");
    store.Purge();
    EXPECT_EQ(Subkeys(), (std::vector<std::string>{"1", "5"}));
}

TEST_F(QueueStore, NamesOutsideTheRowFormAreNeitherListedFoundNorPurged) {
    Seed("0", Named("C:\\Queues\\zero.ftq"));
    Seed("1", Named("C:\\Queues\\one.ftq"));
    Seed("01", Named("C:\\Queues\\zero one.ftq"), false);
    Seed("abc", Named("C:\\Queues\\abc.ftq"), false);
    store.Purge();
    EXPECT_EQ(Subkeys(), (std::vector<std::string>{"0", "01", "1", "abc"}));
    EXPECT_EQ(store.Enumerate(), (std::vector<int>{0, 1}));
    EXPECT_EQ(store.FindByName("C:\\Queues\\zero one.ftq"), 0);
    store.DeleteRow(1);
    EXPECT_EQ(Subkeys(), (std::vector<std::string>{"0", "01", "abc"}));
}

TEST_F(QueueStore, ListingEndsAtANameTooLongForTheNameBuffer) {
    Seed("1");
    Seed("2");
    Seed(std::string(130, '3'));
    Seed("4", Named("C:\\Queues\\gone.ftq"), false);
    store.Purge();
    EXPECT_EQ(store.Enumerate(), (std::vector<int>{1, 2}));
    EXPECT_TRUE(settings.KeyExists(MemorySettingsStore::Hive::User, kTable + "\\4"));
}

TEST_F(QueueStore, FindByNameIsExactAndTakesTheFirstInEnumerationOrder) {
    Seed("2", Named("C:\\Queues\\a.ftq"));
    Seed("10", Named("C:\\Queues\\a.ftq"));
    Seed("3", Named("C:\\Queues\\B.ftq"));
    EXPECT_EQ(store.FindByName("C:\\Queues\\a.ftq"), 10);
    EXPECT_EQ(store.FindByName("C:\\Queues\\B.ftq"), 3);
    EXPECT_EQ(store.FindByName("c:\\queues\\b.ftq"), 0);
}

TEST_F(QueueStore, ARowDeletedAfterListingReadsAsNothing) {
    Seed("1");
    Seed("2");
    settings.AfterNextList([this] { settings.DeleteSubkey(kTable, "2"); });
    EXPECT_EQ(store.Enumerate(), (std::vector<int>{1, 2}));
    std::string name = "stale";
    EXPECT_EQ(store.ReadRow(2, name), std::nullopt);
    EXPECT_EQ(name, "");
}

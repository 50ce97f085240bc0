#include "recovery/CInterruptedTransferStore.h"

#include <optional>

#include <gtest/gtest.h>

#include "core/MemorySettingsStore.h"
#include "core/RegistryLayout.h"
#include "shared/Fakes.h"

namespace {

using Hive = MemorySettingsStore::Hive;

struct Row {
    std::string name;
    std::optional<int32_t> version;  // no DBVER value at all when empty
};

std::string RowPath(const std::string& name) {
    return std::string(registry::kTransferTable) + "\\" + name;
}

void AddRows(MemorySettingsStore& settings, const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        // The downloader's own data, which a row keeps whatever its DBVER.
        settings.SetRaw(Hive::User, RowPath(row.name), "Url", registry::kTypeString, {'x', 0});
        if (row.version) {
            settings.WriteInt(std::string(registry::kTransferSection) + "\\" + row.name,
                              registry::kVersionEntry, *row.version);
        }
    }
}

std::vector<std::string> RowNames(MemorySettingsStore& settings) {
    return settings.ListSubkeys(registry::kTransferTable, KeyAccess::Read);
}

using Names = std::vector<std::string>;

// Remembers how each table was opened: the registry adapter needs the right access mode.
class AccessRecordingStore : public MemorySettingsStore {
public:
    std::vector<std::string> ListSubkeys(const std::string& tablePath, KeyAccess access) override {
        accesses.push_back(access);
        return MemorySettingsStore::ListSubkeys(tablePath, access);
    }
    std::vector<KeyAccess> accesses;
};

struct CountCase {
    const char* name;
    std::vector<Row> rows;
    int count;
    Names left;
};

void ExpectCounts(const std::vector<CountCase>& cases) {
    for (const CountCase& c : cases) {
        MemorySettingsStore settings;
        AddRows(settings, c.rows);
        EXPECT_EQ(CInterruptedTransferStore(settings).CountPending(), c.count) << c.name;
        EXPECT_EQ(RowNames(settings), c.left) << c.name;
    }
}

}  // namespace

TEST(InterruptedTransferStore, CountPendingKeepsExactlyTheRowsMarkedOne) {
    ExpectCounts({
        {"valid, zero, missing", {{"3", 1}, {"5", 0}, {"7", std::nullopt}}, 1, {"3"}},
        {"other versions", {{"1", 2}, {"2", -1}, {"4", 1}, {"6", 1}}, 2, {"4", "6"}},
        {"nothing valid", {{"1", 0}, {"2", 0}, {"3", std::nullopt}, {"4", 7}}, 0, {}},
        {"row zero", {{"0", 1}}, 1, {"0"}},
    });
}

TEST(InterruptedTransferStore, MissingTableReadsAsEmptyAndIsNotCreated) {
    MemorySettingsStore settings;
    CInterruptedTransferStore store(settings);
    EXPECT_EQ(store.CountPending(), 0);
    EXPECT_TRUE(store.Enumerate().empty());
    store.DeleteAll();
    store.DeleteRow(3);
    EXPECT_FALSE(settings.KeyExists(Hive::User, registry::kTransferTable));
}

TEST(InterruptedTransferStore, DeleteAllEmptiesTheTableButKeepsItsKey) {
    MemorySettingsStore settings;
    AddRows(settings, {{"1", 1}, {"2", 0}, {"3", std::nullopt}, {"04", 1}, {"abc", 1}});
    CInterruptedTransferStore(settings).DeleteAll();
    EXPECT_TRUE(RowNames(settings).empty());
    EXPECT_TRUE(settings.KeyExists(Hive::User, registry::kTransferTable));
}

TEST(InterruptedTransferStore, EnumerateListsEveryRowByNumberInTableOrder) {
    MemorySettingsStore settings;
    AddRows(settings, {{"4", 1}, {"9", 0}, {"07", std::nullopt}, {"x", 1}, {"-2", 1}});
    EXPECT_EQ(CInterruptedTransferStore(settings).Enumerate(), (std::vector<int>{-2, 7, 4, 9, 0}));

    MemorySettingsStore emptyTable;
    emptyTable.CreateKey(Hive::User, registry::kTransferTable);
    EXPECT_TRUE(CInterruptedTransferStore(emptyTable).Enumerate().empty());
}

TEST(InterruptedTransferStore, DeleteRowDeletesTheDecimalNameOnly) {
    MemorySettingsStore settings;
    AddRows(settings, {{"07", 1}, {"7", 1}, {"+8", 1}});
    CInterruptedTransferStore store(settings);
    store.DeleteRow(7);
    store.DeleteRow(8);
    store.DeleteRow(12);
    EXPECT_EQ(RowNames(settings), (Names{"+8", "07"}));
}

// An invalid row whose name reads as another row's number must never take that row with it.
TEST(InterruptedTransferStore, InvalidRowsAreDeletedByTheirOwnName) {
    ExpectCounts({
        {"leading zero", {{"07", 0}, {"7", 1}}, 1, {"7"}},
        {"sign", {{"+7", std::nullopt}, {"7", 1}}, 1, {"7"}},
        {"not a number", {{"abc", 0}, {"0", 1}}, 1, {"0"}},
        {"digits then text", {{"5old", 2}, {"5", 1}}, 1, {"5"}},
        {"valid odd name stays", {{"07", 1}, {"7", 0}}, 1, {"07"}},
    });
}

TEST(InterruptedTransferStore, RowVanishingDuringTheWalkIsNeitherCountedNorMissed) {
    MemorySettingsStore settings;
    AddRows(settings, {{"1", 1}, {"2", 1}, {"3", 1}});
    settings.AfterNextList([&] { settings.DeleteTree(Hive::User, RowPath("2")); });
    EXPECT_EQ(CInterruptedTransferStore(settings).CountPending(), 2);
    EXPECT_EQ(RowNames(settings), (Names{"1", "3"}));
}

TEST(InterruptedTransferStore, RowAddedDuringTheWalkIsLeftForTheDownloader) {
    for (const bool deleteAll : {false, true}) {
        MemorySettingsStore settings;
        AddRows(settings, {{"1", 0}});
        settings.AfterNextList([&] { AddRows(settings, {{"2", std::nullopt}}); });
        CInterruptedTransferStore store(settings);
        if (deleteAll) {
            store.DeleteAll();
        } else {
            EXPECT_EQ(store.CountPending(), 0);
        }
        EXPECT_EQ(RowNames(settings), (Names{"2"})) << "deleteAll " << deleteAll;
    }
}

TEST(InterruptedTransferStore, WalksThatDeleteOpenTheTableForAllAccess) {
    AccessRecordingStore settings;
    CInterruptedTransferStore store(settings);
    store.CountPending();
    store.DeleteAll();
    store.Enumerate();
    EXPECT_EQ(settings.accesses,
              (std::vector<KeyAccess>{KeyAccess::All, KeyAccess::All, KeyAccess::Read}));
}

TEST(HasPendingTransfers, AsksTheTableOnlyWhileTheDownloaderIsAbsent) {
    MemorySettingsStore settings;
    AddRows(settings, {{"3", 1}, {"5", 0}, {"7", std::nullopt}});
    FakeCompanions companions;
    ClientLauncher launcher(companions);

    companions.presentEvents.insert(companions::kDownloaderEvent);
    const std::string before = settings.Dump(Hive::User);
    EXPECT_FALSE(HasPendingTransfers(launcher, settings));
    EXPECT_EQ(settings.Dump(Hive::User), before);

    companions.presentEvents.clear();
    EXPECT_TRUE(HasPendingTransfers(launcher, settings));
    EXPECT_EQ(RowNames(settings), (Names{"3"}));

    CInterruptedTransferStore(settings).DeleteRow(3);
    EXPECT_FALSE(HasPendingTransfers(launcher, settings));
}

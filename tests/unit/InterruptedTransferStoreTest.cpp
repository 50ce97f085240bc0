#include "recovery/CInterruptedTransferStore.h"

#include <gtest/gtest.h>

#include <optional>

#include "AllocationFailure.h"
#include "core/RegistryLayout.h"
#include "shared/MemorySettingsStore.h"

namespace {

using Names = std::vector<std::string>;
using Rows = std::vector<std::pair<std::string, int32_t>>;  // name, DBVER
constexpr int32_t kNoVersion = -99;                         // a row without a DBVER value

struct Table : MemorySettingsStore {
    explicit Table(const Rows& rows) {
        for (const auto& [name, version] : rows) {
            const std::string section = std::string(registry::kTransferSection) + "\\" + name;
            WriteString(section, "Url", "ftp://host/file");
            if (version != kNoVersion) {
                WriteInt(section, registry::kVersionEntry, version);
            }
        }
    }
    Names Listed() { return ListSubkeys(registry::kTransferTable, KeyAccess::Read); }
};

}  // namespace

// Mended: an invalid row was deleted by the number read from its name, so "07" took row "7".
TEST(InterruptedTransferStore, CountPendingKeepsRowsMarkedOneAndDeletesOthersByTheirOwnName) {
    const std::pair<Rows, Names> cases[] = {
        {{{"3", 1}, {"5", 0}, {"7", kNoVersion}, {"2", -1}}, {"3"}},
        {{{"07", 0}, {"7", 1}}, {"7"}},
        {{{"5old", 2}, {"5", 1}}, {"5"}},
        {{{"07", 1}, {"7", 0}}, {"07"}},
    };
    for (const auto& [rows, left] : cases) {
        Table table(rows);
        EXPECT_EQ(CInterruptedTransferStore(table).CountPending(), 1);
        EXPECT_EQ(table.Listed(), left);
    }
}

// Mended: running out of memory while listing, or while keeping the list, at start-up ended the
// program; "7" and "07" resumed the same transfer twice.
TEST(InterruptedTransferStore, RowsAreListedByNumberOnceAndAllDeletedByTheirOwnName) {
    Table table({{"07", 1}, {"+8", 1}, {"abc", 0}, {"-2", 1}, {"7", 1}});
    CInterruptedTransferStore store(table);
    table.AfterNextList([] { throw std::bad_alloc(); });
    EXPECT_EQ(store.CountPending(), 0);
    table.AfterNextList([] { throw std::bad_alloc(); });
    EXPECT_TRUE(store.Enumerate().empty());
    std::optional<AllocationFailure> failing;
    table.AfterNextList([&failing] { failing.emplace(1, 1); });
    const bool nothingListed = store.Enumerate().empty();
    failing.reset();
    EXPECT_TRUE(nothingListed);
    EXPECT_EQ(table.Listed().size(), 5u);
    EXPECT_EQ(store.Enumerate(), (std::vector<int>{8, -2, 7, 0}));
    store.GiveUp(store.ListRows());
    EXPECT_EQ(table.Listed(), Names{});
    EXPECT_TRUE(table.KeyExists(MemorySettingsStore::Hive::User, registry::kTransferTable));
}

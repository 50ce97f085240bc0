#include "core/MemorySettingsStore.h"

#include <memory>

#include "shared/SettingsStoreContract.h"

namespace {

class MemoryHarness {
public:
    SettingsStore& Store() { return *store_; }
    void Reset() { store_ = std::make_unique<MemorySettingsStore>(); }
    void SetRaw(bool machine, const std::string& path, const std::string& name, unsigned type,
                const std::vector<uint8_t>& bytes) {
        store_->SetRaw(Hive(machine), path, name, type, bytes);
    }
    void CreateKey(const std::string& path) { store_->CreateKey(Hive(false), path); }
    bool KeyExists(const std::string& path) { return store_->KeyExists(Hive(false), path); }

private:
    static MemorySettingsStore::Hive Hive(bool machine) {
        return machine ? MemorySettingsStore::Hive::Machine : MemorySettingsStore::Hive::User;
    }
    std::unique_ptr<MemorySettingsStore> store_ = std::make_unique<MemorySettingsStore>();
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, SettingsStoreContract, MemoryHarness);

TEST(MemorySettingsStore, RowVanishingAfterListingReadsAsMissing) {
    MemorySettingsStore store;
    store.WriteInt("T\\1", "DBVER", 1);
    store.WriteInt("T\\2", "DBVER", 1);
    store.AfterNextList([&] { store.DeleteTree(MemorySettingsStore::Hive::User,
                                               std::string(registry::kUserRoot) + "\\T\\2"); });
    const auto names = store.ListSubkeys(std::string(registry::kUserRoot) + "\\T", KeyAccess::Read);
    EXPECT_EQ(names, (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(store.GetInt("T\\2", "DBVER", 0), 0);
}

#include "shared/MemorySettingsStore.h"

#include "shared/SettingsStoreContract.h"

namespace {

struct MemoryHarness : MemorySettingsStore {
    SettingsStore& Store() { return *this; }
    void Reset() {
        DeleteTree(Hive::User, registry::kUserRoot);
        DeleteTree(Hive::Machine, registry::kSettingsKey);
    }
    void SetRaw(bool machine, const std::string& path, const std::string& name, unsigned type,
                const std::vector<uint8_t>& bytes) {
        MemorySettingsStore::SetRaw(machine ? Hive::Machine : Hive::User, path, name, type, bytes);
    }
    void CreateKey(const std::string& path) { MemorySettingsStore::CreateKey(Hive::User, path); }
    bool KeyExists(const std::string& key) {
        return MemorySettingsStore::KeyExists(Hive::User, key);
    }
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, SettingsStoreContract, MemoryHarness);

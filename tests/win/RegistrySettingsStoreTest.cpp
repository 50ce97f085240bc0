#include "app/RegistrySettingsStore.h"

#include <windows.h>

#include "shared/SettingsStoreContract.h"

namespace {

// Seeds the real registry of the test prefix with raw values of any type.
class RegistryHarness {
public:
    SettingsStore& Store() { return store_; }
    void Reset() {
        RegDeleteTreeA(HKEY_CURRENT_USER, registry::kUserRoot);
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, registry::kSettingsKey, KEY_WOW64_32KEY, 0);
    }
    void SetRaw(bool machine, const std::string& path, const std::string& name, unsigned type,
                const std::vector<uint8_t>& bytes) {
        // A machine value goes where a 32-bit installer writes it.
        const HKEY key = machine ? Open(HKEY_LOCAL_MACHINE, path, KEY_WOW64_32KEY)
                                 : Open(HKEY_CURRENT_USER, path);
        RegSetValueExA(key, name.c_str(), 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
        RegCloseKey(key);
    }
    void CreateKey(const std::string& path) { RegCloseKey(Open(HKEY_CURRENT_USER, path)); }
    bool KeyExists(const std::string& path) {
        HKEY key = nullptr;
        const LONG opened = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
        return opened == ERROR_SUCCESS && RegCloseKey(key) == ERROR_SUCCESS;
    }

private:
    static HKEY Open(HKEY root, const std::string& path, REGSAM view = 0) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        return key;
    }
    RegistrySettingsStore store_;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Registry, SettingsStoreContract, RegistryHarness);

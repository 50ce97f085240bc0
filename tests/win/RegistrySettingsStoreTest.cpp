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
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, registry::kSettingsKey);
    }
    void SetRaw(bool machine, const std::string& path, const std::string& name, unsigned type,
                const std::vector<uint8_t>& bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, path.c_str(), 0,
                                  nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name.c_str(), 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
        RegCloseKey(key);
    }
    void CreateKey(const std::string& path) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    bool KeyExists(const std::string& path) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(key);
        return true;
    }

private:
    RegistrySettingsStore store_;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Registry, SettingsStoreContract, RegistryHarness);

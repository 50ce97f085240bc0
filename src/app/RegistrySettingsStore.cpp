#include "app/RegistrySettingsStore.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "core/RegistryLayout.h"

namespace {

// Closes a key on every path out of a function.
class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    bool Open(HKEY root, const std::string& path, REGSAM access) {
        return RegOpenKeyExA(root, path.c_str(), 0, access, &key_) == ERROR_SUCCESS;
    }
    bool Create(HKEY root, const std::string& path) {
        return RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key_,
                               nullptr) == ERROR_SUCCESS;
    }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

std::string ProfilePath(std::string section) {
    while (!section.empty() && section.back() == '\\') {
        section.pop_back();
    }
    return std::string(registry::kUserRoot) + "\\" + section;
}

REGSAM AccessMask(KeyAccess access) {
    switch (access) {
        case KeyAccess::Read:
            return KEY_READ;
        case KeyAccess::Write:
            return KEY_WRITE;
        case KeyAccess::All:
            return KEY_ALL_ACCESS;
    }
    return KEY_READ;
}

constexpr DWORD kFirstQueryBytes = 256;

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<uint8_t> bytes;
};

// The value's bytes as they are now; nothing when it is missing or keeps changing size under us.
// Most values fit the first buffer and take one query: each registry call is a round trip, paid
// for every value that a pass over many rows reads.
std::optional<RawValue> QueryValue(HKEY root, const std::string& path, const std::string& name) {
    RegistryKey key;
    if (!key.Open(root, path, KEY_READ)) {
        return std::nullopt;
    }
    RawValue value;
    DWORD size = kFirstQueryBytes;
    for (int attempt = 0; attempt < 3; ++attempt) {
        value.bytes.resize(size);
        const LONG result = RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type,
                                             value.bytes.data(), &size);
        if (result == ERROR_SUCCESS) {
            value.bytes.resize(size);
            return value;
        }
        // A buffer too small has learnt the size the value needs now.
        if (result != ERROR_MORE_DATA) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

std::string TextUpToNul(const uint8_t* bytes, size_t size) {
    return std::string(bytes, std::find(bytes, bytes + size, 0));
}

void SetValue(const std::string& section, const std::string& entry, DWORD type,
              const uint8_t* bytes, size_t size) {
    RegistryKey key;
    if (key.Create(HKEY_CURRENT_USER, ProfilePath(section))) {
        RegSetValueExA(key.get(), entry.c_str(), 0, type, bytes, static_cast<DWORD>(size));
    }
}

}  // namespace

int32_t RegistrySettingsStore::GetInt(const std::string& section, const std::string& entry,
                                      int32_t defaultValue) {
    const auto value = QueryValue(HKEY_CURRENT_USER, ProfilePath(section), entry);
    if (!value || value->bytes.size() != sizeof(DWORD)) {
        return defaultValue;
    }
    DWORD number = 0;
    std::memcpy(&number, value->bytes.data(), sizeof number);
    return static_cast<int32_t>(number);
}

std::string RegistrySettingsStore::GetString(const std::string& section, const std::string& entry,
                                             const std::string& defaultValue) {
    const auto value = QueryValue(HKEY_CURRENT_USER, ProfilePath(section), entry);
    if (!value || !IsStringType(value->type)) {
        return defaultValue;
    }
    return TextUpToNul(value->bytes.data(), value->bytes.size());
}

std::optional<std::vector<uint8_t>> RegistrySettingsStore::GetBinary(const std::string& section,
                                                                     const std::string& entry) {
    auto value = QueryValue(HKEY_CURRENT_USER, ProfilePath(section), entry);
    if (!value || value->type != REG_BINARY) {
        return std::nullopt;
    }
    return std::move(value->bytes);
}

void RegistrySettingsStore::WriteInt(const std::string& section, const std::string& entry,
                                     int32_t value) {
    const DWORD number = static_cast<DWORD>(value);
    SetValue(section, entry, REG_DWORD, reinterpret_cast<const uint8_t*>(&number), sizeof number);
}

void RegistrySettingsStore::WriteString(const std::string& section, const std::string& entry,
                                        const std::string& text) {
    SetValue(section, entry, REG_SZ, reinterpret_cast<const uint8_t*>(text.c_str()),
             text.size() + 1);
}

void RegistrySettingsStore::WriteBinary(const std::string& section, const std::string& entry,
                                        const std::vector<uint8_t>& bytes) {
    SetValue(section, entry, REG_BINARY, bytes.data(), bytes.size());
}

std::vector<std::string> RegistrySettingsStore::ListSubkeys(const std::string& tablePath,
                                                            KeyAccess access) {
    std::vector<std::string> names;
    RegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, tablePath, AccessMask(access))) {
        return names;
    }
    for (DWORD index = 0;; ++index) {
        char name[registry::kSubkeyNameBuffer];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

void RegistrySettingsStore::DeleteSubkey(const std::string& tablePath, const std::string& name) {
    RegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, tablePath, KEY_WRITE)) {
        RegDeleteKeyA(key.get(), name.c_str());
    }
}

std::optional<uint64_t> RegistrySettingsStore::SubkeyStamp(const std::string& tablePath,
                                                           const std::string& name) {
    RegistryKey key;
    FILETIME written{};
    if (!key.Open(HKEY_CURRENT_USER, tablePath + "\\" + name, KEY_READ) ||
        RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr, &written) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return (uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime;
}

std::string RegistrySettingsStore::ReadMachineString(const std::string& path,
                                                     const std::string& valueName) {
    // The installer of the 32-bit client writes the 32-bit view; a 64-bit build must read the same.
    RegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, path, KEY_READ | KEY_WOW64_32KEY)) {
        return {};
    }
    // The buffer's own size is passed, never the size the value claims: a longer value then
    // fails with ERROR_MORE_DATA and reads as empty instead of overrunning the buffer.
    uint8_t buffer[registry::kMachineStringBuffer];
    DWORD size = sizeof buffer;
    DWORD type = REG_NONE;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, buffer, &size) !=
            ERROR_SUCCESS ||
        !IsStringType(type)) {
        return {};
    }
    return TextUpToNul(buffer, size);
}

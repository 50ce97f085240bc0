#pragma once

#include "core/SettingsStore.h"

// The settings store on the Windows registry (advapi32, ANSI). Holds no key open between calls.
class RegistrySettingsStore : public SettingsStore {
public:
    int32_t GetInt(const std::string& section, const std::string& entry,
                   int32_t defaultValue) override;
    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& defaultValue) override;
    std::optional<std::vector<uint8_t>> GetBinary(const std::string& section,
                                                  const std::string& entry) override;
    void WriteInt(const std::string& section, const std::string& entry, int32_t value) override;
    void WriteString(const std::string& section, const std::string& entry,
                     const std::string& text) override;
    void WriteBinary(const std::string& section, const std::string& entry,
                     const std::vector<uint8_t>& bytes) override;
    std::vector<std::string> ListSubkeys(const std::string& tablePath, KeyAccess access) override;
    void DeleteSubkey(const std::string& tablePath, const std::string& name) override;
    std::optional<uint64_t> SubkeyStamp(const std::string& tablePath,
                                        const std::string& name) override;
    std::string ReadMachineString(const std::string& path, const std::string& valueName) override;
};

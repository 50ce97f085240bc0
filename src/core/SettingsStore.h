#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// How a table key is opened; the registry adapter maps these to KEY_READ, KEY_WRITE and
// KEY_ALL_ACCESS.
enum class KeyAccess { Read, Write, All };

// The registry as this program sees it. Profile operations name a section relative to the
// per-user root; a trailing backslash on a section names the same key. Table operations take a
// full path under the per-user hive. No operation reports a failure: a missing key or value, or
// one of another type, reads as the default or as nothing.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Any value of exactly four bytes, whatever its type, reads as a little-endian integer, as
    // the client reads it; a value of another size reads as the default.
    virtual int32_t GetInt(const std::string& section, const std::string& entry,
                           int32_t defaultValue) = 0;
    virtual std::string GetString(const std::string& section, const std::string& entry,
                                  const std::string& defaultValue) = 0;
    virtual std::optional<std::vector<uint8_t>> GetBinary(const std::string& section,
                                                          const std::string& entry) = 0;

    // Writes create the section key when it is missing.
    virtual void WriteInt(const std::string& section, const std::string& entry, int32_t value) = 0;
    virtual void WriteString(const std::string& section, const std::string& entry,
                             const std::string& text) = 0;
    virtual void WriteBinary(const std::string& section, const std::string& entry,
                             const std::vector<uint8_t>& bytes) = 0;

    // Subkey names in enumeration order, ending at the first name that does not fit the
    // 128-byte name buffer; empty for a missing key. Listing creates nothing.
    virtual std::vector<std::string> ListSubkeys(const std::string& tablePath,
                                                 KeyAccess access) = 0;
    virtual void DeleteSubkey(const std::string& tablePath, const std::string& name) = 0;
    // When the subkey or its values were last written, in the platform's units; nothing when it
    // is missing. A row deleted and written again has a new stamp.
    virtual std::optional<uint64_t> SubkeyStamp(const std::string& tablePath,
                                                const std::string& name) = 0;

    // A string value under the machine hive, in the view a 32-bit program sees, read into a
    // 1,024-byte buffer: empty when the key or value is missing, is not a string, or does not
    // fit the buffer.
    virtual std::string ReadMachineString(const std::string& path,
                                          const std::string& valueName) = 0;
};

#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/SettingsStore.h"

// An in-memory registry with the platform's rules: key and value names compare without regard to
// letter case, subkeys enumerate in that order, values keep their types, enumeration stops at a
// name too long for the name buffer, a key with subkeys cannot be deleted, and a key's stamp
// moves on with every write to it.
class MemorySettingsStore : public SettingsStore {
public:
    enum class Hive { User, Machine };

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

    // Direct access for tests, by full path under a hive.
    void SetRaw(Hive hive, const std::string& path, const std::string& name, unsigned type,
                const std::vector<uint8_t>& bytes);
    void CreateKey(Hive hive, const std::string& path);
    void DeleteTree(Hive hive, const std::string& path);
    bool KeyExists(Hive hive, const std::string& path) const;
    // Every key and value of a hive as text, for comparing whole trees.
    std::string Dump(Hive hive) const;

    // Runs once, right after the next listing has been taken: another program changing the
    // table between a listing and the reads that follow it.
    void AfterNextList(std::function<void()> action);

private:
    struct NoCase {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    struct Value {
        unsigned type;
        std::vector<uint8_t> bytes;
    };
    using Values = std::map<std::string, Value, NoCase>;

    // Keys by their full path, the hive's name first, every ancestor present.
    using Keys = std::map<std::string, Values, NoCase>;

    const Value* Find(Hive hive, const std::string& path, const std::string& name) const;
    Keys::iterator FirstBelow(const std::string& key);
    void AddKey(const std::string& key);

    Keys keys_;
    // A key's last write, counted: creating it or setting one of its values moves it on.
    std::map<std::string, uint64_t, NoCase> stamps_;
    uint64_t lastStamp_ = 0;
    std::function<void()> afterNextList_;
};

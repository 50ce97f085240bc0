#include "shared/MemorySettingsStore.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "core/RegistryLayout.h"

namespace {

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

// "<hive>\part\part", whatever separators the caller used.
std::string KeyPath(MemorySettingsStore::Hive hive, const std::string& path) {
    std::string key = hive == MemorySettingsStore::Hive::User ? "User" : "Machine";
    for (size_t start = 0, end = 0; start < path.size(); start = end + 1) {
        end = std::min(path.find('\\', start), path.size());
        if (end > start) {
            key += "\\" + path.substr(start, end - start);
        }
    }
    return key;
}

bool IsUnder(const std::string& path, const std::string& key) {
    return Upper(path).rfind(Upper(key) + "\\", 0) == 0;
}

std::string ProfilePath(const std::string& section) {
    return std::string(registry::kUserRoot) + "\\" + section;
}

bool IsStringType(unsigned type) {
    return type == registry::kTypeString || type == registry::kTypeExpandString;
}

std::string TextUpToNul(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), std::find(bytes.begin(), bytes.end(), 0));
}

}  // namespace

bool MemorySettingsStore::NoCase::operator()(const std::string& a, const std::string& b) const {
    return Upper(a) < Upper(b);
}

const MemorySettingsStore::Value* MemorySettingsStore::Find(Hive hive, const std::string& path,
                                                            const std::string& name) const {
    const auto key = keys_.find(KeyPath(hive, path));
    const auto value = key == keys_.end() ? Values::const_iterator() : key->second.find(name);
    return key == keys_.end() || value == key->second.end() ? nullptr : &value->second;
}

int32_t MemorySettingsStore::GetInt(const std::string& section, const std::string& entry,
                                    int32_t defaultValue) {
    const Value* value = Find(Hive::User, ProfilePath(section), entry);
    int32_t number = defaultValue;
    if (value != nullptr && value->bytes.size() == sizeof number) {
        std::memcpy(&number, value->bytes.data(), sizeof number);  // both worlds: little-endian
    }
    return number;
}

std::string MemorySettingsStore::GetString(const std::string& section, const std::string& entry,
                                           const std::string& defaultValue) {
    const Value* value = Find(Hive::User, ProfilePath(section), entry);
    return value != nullptr && IsStringType(value->type) ? TextUpToNul(value->bytes) : defaultValue;
}

std::optional<std::vector<uint8_t>> MemorySettingsStore::GetBinary(const std::string& section,
                                                                   const std::string& entry) {
    const Value* value = Find(Hive::User, ProfilePath(section), entry);
    if (value == nullptr || value->type != registry::kTypeBinary) {
        return std::nullopt;
    }
    return value->bytes;
}

void MemorySettingsStore::WriteInt(const std::string& section, const std::string& entry,
                                   int32_t value) {
    std::vector<uint8_t> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    SetRaw(Hive::User, ProfilePath(section), entry, registry::kTypeDword, bytes);
}

void MemorySettingsStore::WriteString(const std::string& section, const std::string& entry,
                                      const std::string& text) {
    SetRaw(Hive::User, ProfilePath(section), entry, registry::kTypeString,
           std::vector<uint8_t>(text.c_str(), text.c_str() + text.size() + 1));
}

void MemorySettingsStore::WriteBinary(const std::string& section, const std::string& entry,
                                      const std::vector<uint8_t>& bytes) {
    SetRaw(Hive::User, ProfilePath(section), entry, registry::kTypeBinary, bytes);
}

// Keys sort by their whole path: a key's subkeys, and theirs, follow "<key>\" one after another.
MemorySettingsStore::Keys::iterator MemorySettingsStore::FirstBelow(const std::string& key) {
    return keys_.lower_bound(key + "\\");
}

std::vector<std::string> MemorySettingsStore::ListSubkeys(const std::string& tablePath,
                                                          KeyAccess /*access*/) {
    std::vector<std::string> names;
    const std::string table = KeyPath(Hive::User, tablePath);
    for (auto key = FirstBelow(table); key != keys_.end() && IsUnder(key->first, table); ++key) {
        const std::string name = key->first.substr(table.size() + 1);
        if (name.find('\\') != std::string::npos) {
            continue;  // deeper down
        }
        if (name.size() >= registry::kSubkeyNameBuffer) {
            break;
        }
        names.push_back(name);
    }
    if (afterNextList_) {
        auto action = std::move(afterNextList_);
        afterNextList_ = nullptr;
        action();
    }
    return names;
}

void MemorySettingsStore::DeleteSubkey(const std::string& tablePath, const std::string& name) {
    const std::string key = KeyPath(Hive::User, tablePath + "\\" + name);
    const auto below = FirstBelow(key);
    if (below == keys_.end() || !IsUnder(below->first, key)) {
        keys_.erase(key);
    }
}

std::string MemorySettingsStore::ReadMachineString(const std::string& path,
                                                   const std::string& valueName) {
    const Value* value = Find(Hive::Machine, path, valueName);
    if (value == nullptr || !IsStringType(value->type) ||
        value->bytes.size() > registry::kMachineStringBuffer) {
        return {};
    }
    return TextUpToNul(value->bytes);
}

std::optional<uint64_t> MemorySettingsStore::SubkeyStamp(const std::string& tablePath,
                                                         const std::string& name) {
    const std::string key = KeyPath(Hive::User, tablePath + "\\" + name);
    if (keys_.count(key) == 0) {
        return std::nullopt;
    }
    return stamps_[key];
}

void MemorySettingsStore::SetRaw(Hive hive, const std::string& path, const std::string& name,
                                 unsigned type, const std::vector<uint8_t>& bytes) {
    CreateKey(hive, path);
    keys_[KeyPath(hive, path)][name] = Value{type, bytes};
    stamps_[KeyPath(hive, path)] = ++lastStamp_;
}

void MemorySettingsStore::CreateKey(Hive hive, const std::string& path) {
    const std::string key = KeyPath(hive, path);
    for (size_t end = key.find('\\'); end != std::string::npos; end = key.find('\\', end + 1)) {
        AddKey(key.substr(0, end));
    }
    AddKey(key);
}

void MemorySettingsStore::AddKey(const std::string& key) {
    if (keys_.emplace(key, Values{}).second) {
        stamps_[key] = ++lastStamp_;
    }
}

void MemorySettingsStore::DeleteTree(Hive hive, const std::string& path) {
    const std::string key = KeyPath(hive, path);
    keys_.erase(key);
    for (auto below = FirstBelow(key); below != keys_.end() && IsUnder(below->first, key);) {
        below = keys_.erase(below);
    }
}

bool MemorySettingsStore::KeyExists(Hive hive, const std::string& path) const {
    return keys_.count(KeyPath(hive, path)) != 0;
}

std::string MemorySettingsStore::Dump(Hive hive) const {
    std::string out;
    const std::string root = KeyPath(hive, "");
    for (const auto& [path, values] : keys_) {
        if (path != root && !IsUnder(path, root)) {
            continue;
        }
        out += "[" + path + "]\n";
        for (const auto& [name, value] : values) {
            out += name + " " + std::to_string(value.type) + ":";
            for (uint8_t byte : value.bytes) {
                out += " " + std::to_string(byte);
            }
            out += "\n";
        }
    }
    return out;
}

void MemorySettingsStore::AfterNextList(std::function<void()> action) {
    afterNextList_ = std::move(action);
}

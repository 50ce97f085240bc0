#include "shared/MemorySettingsStore.h"

#include <algorithm>
#include <cctype>

#include "core/RegistryLayout.h"

namespace {

std::string Upper(const std::string& text) {
    std::string result = text;
    for (char& c : result) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return result;
}

struct NoCase {
    bool operator()(const std::string& a, const std::string& b) const {
        return Upper(a) < Upper(b);
    }
};

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty()) {
                parts.push_back(part);
            }
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) {
        parts.push_back(part);
    }
    return parts;
}

struct Value {
    unsigned type = 0;
    std::vector<uint8_t> bytes;
};

bool IsStringType(unsigned type) {
    return type == registry::kTypeString || type == registry::kTypeExpandString;
}

std::string TextUpToNul(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), std::find(bytes.begin(), bytes.end(), 0));
}

}  // namespace

struct MemorySettingsStore::Key {
    std::map<std::string, std::unique_ptr<Key>, NoCase> subkeys;
    std::map<std::string, Value, NoCase> values;

    const Value* FindValue(const std::string& name) const {
        auto found = values.find(name);
        return found == values.end() ? nullptr : &found->second;
    }
};

MemorySettingsStore::MemorySettingsStore()
    : user_(std::make_unique<Key>()), machine_(std::make_unique<Key>()) {}

MemorySettingsStore::~MemorySettingsStore() = default;

MemorySettingsStore::Key* MemorySettingsStore::Find(Hive hive, const std::string& path) const {
    Key* key = hive == Hive::User ? user_.get() : machine_.get();
    for (const std::string& part : SplitPath(path)) {
        auto found = key->subkeys.find(part);
        if (found == key->subkeys.end()) {
            return nullptr;
        }
        key = found->second.get();
    }
    return key;
}

MemorySettingsStore::Key& MemorySettingsStore::Create(Hive hive, const std::string& path) {
    Key* key = hive == Hive::User ? user_.get() : machine_.get();
    for (const std::string& part : SplitPath(path)) {
        std::unique_ptr<Key>& child = key->subkeys[part];
        if (!child) {
            child = std::make_unique<Key>();
        }
        key = child.get();
    }
    return *key;
}

std::string MemorySettingsStore::ProfilePath(const std::string& section) {
    return std::string(registry::kUserRoot) + "\\" + section;
}

int32_t MemorySettingsStore::GetInt(const std::string& section, const std::string& entry,
                                    int32_t defaultValue) {
    const Key* key = Find(Hive::User, ProfilePath(section));
    const Value* value = key ? key->FindValue(entry) : nullptr;
    if (value == nullptr || value->bytes.size() != 4) {
        return defaultValue;
    }
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i) {
        number = (number << 8) | value->bytes[i];
    }
    return static_cast<int32_t>(number);
}

std::string MemorySettingsStore::GetString(const std::string& section, const std::string& entry,
                                           const std::string& defaultValue) {
    const Key* key = Find(Hive::User, ProfilePath(section));
    const Value* value = key ? key->FindValue(entry) : nullptr;
    if (value == nullptr || !IsStringType(value->type)) {
        return defaultValue;
    }
    return TextUpToNul(value->bytes);
}

std::optional<std::vector<uint8_t>> MemorySettingsStore::GetBinary(const std::string& section,
                                                                   const std::string& entry) {
    const Key* key = Find(Hive::User, ProfilePath(section));
    const Value* value = key ? key->FindValue(entry) : nullptr;
    if (value == nullptr || value->type != registry::kTypeBinary) {
        return std::nullopt;
    }
    return value->bytes;
}

void MemorySettingsStore::WriteInt(const std::string& section, const std::string& entry,
                                   int32_t value) {
    const auto number = static_cast<uint32_t>(value);
    SetRaw(Hive::User, ProfilePath(section), entry, registry::kTypeDword,
           {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8),
            static_cast<uint8_t>(number >> 16), static_cast<uint8_t>(number >> 24)});
}

void MemorySettingsStore::WriteString(const std::string& section, const std::string& entry,
                                      const std::string& text) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    SetRaw(Hive::User, ProfilePath(section), entry, registry::kTypeString, bytes);
}

void MemorySettingsStore::WriteBinary(const std::string& section, const std::string& entry,
                                      const std::vector<uint8_t>& bytes) {
    SetRaw(Hive::User, ProfilePath(section), entry, registry::kTypeBinary, bytes);
}

std::vector<std::string> MemorySettingsStore::ListSubkeys(const std::string& tablePath,
                                                          KeyAccess /*access*/) {
    ++listCount;
    std::vector<std::string> names;
    if (const Key* key = Find(Hive::User, tablePath)) {
        for (const auto& entry : key->subkeys) {
            if (entry.first.size() >= registry::kSubkeyNameBuffer) {
                break;
            }
            names.push_back(entry.first);
        }
    }
    if (afterNextList_) {
        auto action = std::move(afterNextList_);
        afterNextList_ = nullptr;
        action();
    }
    return names;
}

void MemorySettingsStore::DeleteSubkey(const std::string& tablePath, const std::string& name) {
    Key* table = Find(Hive::User, tablePath);
    if (table == nullptr) {
        return;
    }
    auto found = table->subkeys.find(name);
    if (found != table->subkeys.end() && found->second->subkeys.empty()) {
        table->subkeys.erase(found);
    }
}

std::string MemorySettingsStore::ReadMachineString(const std::string& path,
                                                   const std::string& valueName) {
    const Key* key = Find(Hive::Machine, path);
    const Value* value = key ? key->FindValue(valueName) : nullptr;
    if (value == nullptr || !IsStringType(value->type) ||
        value->bytes.size() > registry::kMachineStringBuffer) {
        return {};
    }
    return TextUpToNul(value->bytes);
}

void MemorySettingsStore::SetRaw(Hive hive, const std::string& path, const std::string& name,
                                 unsigned type, const std::vector<uint8_t>& bytes) {
    Create(hive, path).values[name] = Value{type, bytes};
}

void MemorySettingsStore::CreateKey(Hive hive, const std::string& path) { Create(hive, path); }

void MemorySettingsStore::DeleteTree(Hive hive, const std::string& path) {
    std::vector<std::string> parts = SplitPath(path);
    if (parts.empty()) {
        return;
    }
    const std::string leaf = parts.back();
    parts.pop_back();
    std::string parentPath;
    for (const std::string& part : parts) {
        parentPath += part + "\\";
    }
    if (Key* parent = Find(hive, parentPath)) {
        parent->subkeys.erase(leaf);
    }
}

bool MemorySettingsStore::KeyExists(Hive hive, const std::string& path) const {
    return Find(hive, path) != nullptr;
}

bool MemorySettingsStore::ValueExists(Hive hive, const std::string& path,
                                      const std::string& name) const {
    const Key* key = Find(hive, path);
    return key != nullptr && key->FindValue(name) != nullptr;
}

std::string MemorySettingsStore::Dump(Hive hive) const {
    std::string out;
    std::vector<std::pair<std::string, const Key*>> pending{
        {"", hive == Hive::User ? user_.get() : machine_.get()}};
    while (!pending.empty()) {
        auto [path, key] = pending.back();
        pending.pop_back();
        out += "[" + path + "]\n";
        for (const auto& [name, value] : key->values) {
            out += name + " " + std::to_string(value.type) + ":";
            for (uint8_t byte : value.bytes) {
                out += " " + std::to_string(byte);
            }
            out += "\n";
        }
        for (auto child = key->subkeys.rbegin(); child != key->subkeys.rend(); ++child) {
            pending.emplace_back(path + "\\" + child->first, child->second.get());
        }
    }
    return out;
}

void MemorySettingsStore::AfterNextList(std::function<void()> action) {
    afterNextList_ = std::move(action);
}

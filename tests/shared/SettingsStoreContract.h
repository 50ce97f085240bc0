#pragma once

// One behaviour table for both settings stores, so the in-memory model and the registry adapter
// cannot drift. Each rig instantiates it with a harness that can seed raw values.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/RegistryLayout.h"
#include "core/SettingsStore.h"

template <typename Harness>
struct SettingsStoreContract : ::testing::Test {
    void SetUp() override { harness.Reset(); }
    void TearDown() override { harness.Reset(); }

    Harness harness;
};

TYPED_TEST_SUITE_P(SettingsStoreContract);

TYPED_TEST_P(SettingsStoreContract, ListingIsOrderedEndsAtOverlongNamesAndCreatesNothing) {
    SettingsStore& store = this->harness.Store();
    const std::string table = std::string(registry::kUserRoot) + "\\Table", fits(127, 'm');
    EXPECT_TRUE(store.ListSubkeys(table, KeyAccess::Read).empty());
    EXPECT_EQ(store.GetInt("Table\\1", "DBVER", 42), 42);
    EXPECT_FALSE(this->harness.KeyExists(table));
    for (const std::string& name : std::vector<std::string>{"9", "10", "01", "1", "abc", "Abd",
                                                            fits, std::string(128, 'n'), "z"}) {
        this->harness.CreateKey(table + "\\" + name);
    }
    store.DeleteSubkey(table, "1");
    store.DeleteSubkey(table, "5");
    EXPECT_EQ(store.ListSubkeys(table, KeyAccess::All),
              (std::vector<std::string>{"01", "10", "9", "abc", "Abd", fits}));
}

TYPED_TEST_P(SettingsStoreContract, MalformedValuesReadSafely) {
    SettingsStore& store = this->harness.Store();
    const std::string key = registry::kSettingsKey, full(1023, 'p');
    const std::tuple<bool, const char*, unsigned, std::string, std::string> cases[] = {
        {true, "Path", registry::kTypeString, std::string("D:\\V\0", 5), "D:\\V"},
        {true, "Dword", registry::kTypeDword, "\1\2\3\4", ""},
        {true, "Fits", registry::kTypeString, full + '\0', full},
        {true, "NoNul", registry::kTypeString, full + 'q', full + 'q'},
        {true, "TooLong", registry::kTypeString, full + 'r' + '\0', ""},
        {false, "Unterminated", registry::kTypeString, "abc", "abc"},
        {false, "EmbeddedNul", registry::kTypeString, std::string("ab\0c\0", 5), "ab"},
        {false, "ShortDword", registry::kTypeDword, std::string("\1\0", 2), "77"}};
    for (const auto& [machine, name, type, bytes, read] : cases) {
        const std::string path = machine ? key : std::string(registry::kUserRoot) + "\\Raw";
        this->harness.SetRaw(machine, path, name, type, {bytes.begin(), bytes.end()});
        EXPECT_EQ(machine                        ? store.ReadMachineString(key, name)
                  : type == registry::kTypeDword ? std::to_string(store.GetInt("Raw", name, 77))
                                                 : store.GetString("Raw", name, ""),
                  read)
            << name;
    }
}

REGISTER_TYPED_TEST_SUITE_P(SettingsStoreContract,
                            ListingIsOrderedEndsAtOverlongNamesAndCreatesNothing,
                            MalformedValuesReadSafely);

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
    // A subkey deeper down neither ends the listing nor lets its key be deleted; a neighbour
    // table whose name starts alike is not listed.
    for (const std::string& name :
         std::vector<std::string>{"9", "10", "10\\" + std::string(130, 'd'), "01", "1", "abc",
                                  "Abd", fits, std::string(128, 'n'), "z"}) {
        this->harness.CreateKey(table + "\\" + name);
    }
    this->harness.CreateKey(table + "2\\5");
    for (const char* name : {"1", "5", "10"}) {
        store.DeleteSubkey(table, name);
    }
    EXPECT_EQ(store.ListSubkeys(table, KeyAccess::All),
              (std::vector<std::string>{"01", "10", "9", "abc", "Abd", fits}));
}

// Machine strings come from the 32-bit view; integers are any four bytes, as the client reads them.
TYPED_TEST_P(SettingsStoreContract, MalformedValuesReadSafely) {
    SettingsStore& store = this->harness.Store();
    enum Read { kMachine, kInt, kString };
    const std::string key = registry::kSettingsKey, full(1023, 'p');
    const std::tuple<Read, const char*, unsigned, std::string, std::string> cases[] = {
        {kMachine, "Path", registry::kTypeString, std::string("D:\\V\0", 5), "D:\\V"},
        {kMachine, "Dword", registry::kTypeDword, "\1\2\3\4", ""},
        {kMachine, "Fits", registry::kTypeString, full + '\0', full},
        {kMachine, "NoNul", registry::kTypeString, full + 'q', full + 'q'},
        {kMachine, "TooLong", registry::kTypeString, full + 'r' + '\0', ""},
        {kString, "Unterminated", registry::kTypeString, "abc", "abc"},
        {kString, "EmbeddedNul", registry::kTypeString, std::string("ab\0c\0", 5), "ab"},
        {kInt, "ShortDword", registry::kTypeDword, std::string("\1\0", 2), "77"},
        {kInt, "Dword", registry::kTypeDword, "\xFE\xFF\xFF\xFF", "-2"},
        {kInt, "FourBinary", registry::kTypeBinary, std::string("\1\0\0\0", 4), "1"},
        {kInt, "FiveBinary", registry::kTypeBinary, std::string("\1\0\0\0\0", 5), "77"}};
    for (const auto& [read, name, type, bytes, expected] : cases) {
        const std::string path =
            read == kMachine ? key : std::string(registry::kUserRoot) + "\\Raw";
        this->harness.SetRaw(read == kMachine, path, name, type, {bytes.begin(), bytes.end()});
        EXPECT_EQ(read == kMachine ? store.ReadMachineString(key, name)
                  : read == kInt   ? std::to_string(store.GetInt("Raw", name, 77))
                                   : store.GetString("Raw", name, ""),
                  expected)
            << name;
    }
}

REGISTER_TYPED_TEST_SUITE_P(SettingsStoreContract,
                            ListingIsOrderedEndsAtOverlongNamesAndCreatesNothing,
                            MalformedValuesReadSafely);

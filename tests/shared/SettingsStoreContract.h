#pragma once

// One behaviour table for both settings stores, so the in-memory model and the registry adapter
// cannot drift. Each rig instantiates it with a harness that can seed raw values.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/RegistryLayout.h"
#include "core/SettingsStore.h"

template <typename Harness>
class SettingsStoreContract : public ::testing::Test {
protected:
    void SetUp() override { harness.Reset(); }
    void TearDown() override { harness.Reset(); }

    SettingsStore& store() { return harness.Store(); }
    static std::string UserPath(const std::string& section) {
        return std::string(registry::kUserRoot) + "\\" + section;
    }
    static std::vector<uint8_t> Bytes(const std::string& text) {
        return std::vector<uint8_t>(text.begin(), text.end());
    }

    Harness harness;
};

TYPED_TEST_SUITE_P(SettingsStoreContract);

TYPED_TEST_P(SettingsStoreContract, MissingValuesReadAsDefaultsAndCreateNothing) {
    auto& store = this->store();
    EXPECT_EQ(store.GetInt("Nowhere\\7", "DBVER", 42), 42);
    EXPECT_EQ(store.GetString("Nowhere\\7", "QueueName", "none"), "none");
    EXPECT_FALSE(store.GetBinary("Nowhere\\7", "Data").has_value());
    store.WriteInt("Somewhere", "Other", 1);
    EXPECT_EQ(store.GetInt("Somewhere", "DBVER", -3), -3);
    EXPECT_FALSE(this->harness.KeyExists(this->UserPath("Nowhere")));
}

TYPED_TEST_P(SettingsStoreContract, WritesCreateSectionsAndKeepTypes) {
    auto& store = this->store();
    const std::vector<uint8_t> record = {0, 1, 2, 0, 255, 254, 0, 7};
    store.WriteInt("A\\B\\3\\", "DBVER", -2);
    store.WriteString("A\\B\\3\\", "QueueName", "C:\\Queues\\night run.ftq");
    store.WriteBinary("A\\B\\3\\", "Data", record);
    EXPECT_EQ(store.GetInt("A\\B\\3", "DBVER", 0), -2);
    EXPECT_EQ(store.GetString("A\\B\\3", "QueueName", ""), "C:\\Queues\\night run.ftq");
    EXPECT_EQ(store.GetBinary("A\\B\\3", "Data"), record);
    // A value of one type is not read as another.
    EXPECT_EQ(store.GetInt("A\\B\\3", "QueueName", 9), 9);
    EXPECT_EQ(store.GetString("A\\B\\3", "DBVER", "dflt"), "dflt");
    EXPECT_FALSE(store.GetBinary("A\\B\\3", "QueueName").has_value());
    EXPECT_EQ(store.GetInt("A\\B\\3", "Data", 5), 5);
}

TYPED_TEST_P(SettingsStoreContract, NamesIgnoreLetterCaseAndTrailingBackslash) {
    auto& store = this->store();
    store.WriteInt("CurrentVersion\\Preferences\\", "URLMonitor", 1);
    EXPECT_EQ(store.GetInt("currentversion\\PREFERENCES", "urlmonitor", 0), 1);
    store.WriteString("Tbl\\4", "Name", "first");
    store.WriteString("TBL\\4\\", "NAME", "second");
    EXPECT_EQ(store.GetString("tbl\\4", "name", ""), "second");
}

TYPED_TEST_P(SettingsStoreContract, MalformedRawValuesReadSafely) {
    auto& store = this->store();
    const std::string row = this->UserPath("Raw\\1");
    this->harness.SetRaw(false, row, "ShortDword", registry::kTypeDword, {1, 0});
    this->harness.SetRaw(false, row, "LongDword", registry::kTypeDword, {1, 0, 0, 0, 0, 0, 0, 0});
    this->harness.SetRaw(false, row, "Unterminated", registry::kTypeString, this->Bytes("abc"));
    this->harness.SetRaw(false, row, "EmbeddedNul", registry::kTypeString, {'a', 'b', 0, 'c', 0});
    this->harness.SetRaw(false, row, "EmptyBinary", registry::kTypeBinary, {});
    this->harness.SetRaw(false, row, "Expand", registry::kTypeExpandString, this->Bytes("x%y%\0"));
    EXPECT_EQ(store.GetInt("Raw\\1", "ShortDword", 77), 77);
    EXPECT_EQ(store.GetInt("Raw\\1", "LongDword", 77), 77);
    EXPECT_EQ(store.GetString("Raw\\1", "Unterminated", ""), "abc");
    EXPECT_EQ(store.GetString("Raw\\1", "EmbeddedNul", ""), "ab");
    EXPECT_EQ(store.GetBinary("Raw\\1", "EmptyBinary"), std::vector<uint8_t>{});
    EXPECT_EQ(store.GetString("Raw\\1", "Expand", ""), "x%y%");
}

TYPED_TEST_P(SettingsStoreContract, ListingIsOrderedAndEndsAtOverlongNames) {
    auto& store = this->store();
    const std::string table = this->UserPath("Table");
    EXPECT_TRUE(store.ListSubkeys(table, KeyAccess::Read).empty());
    EXPECT_FALSE(this->harness.KeyExists(table));

    for (const char* name : {"9", "10", "abc", "01", "Abd"}) {
        this->harness.CreateKey(table + "\\" + name);
    }
    EXPECT_EQ(store.ListSubkeys(table, KeyAccess::Read),
              (std::vector<std::string>{"01", "10", "9", "abc", "Abd"}));

    this->harness.CreateKey(table + "\\" + std::string(127, 'm'));
    this->harness.CreateKey(table + "\\" + std::string(128, 'n'));
    this->harness.CreateKey(table + "\\zz");
    const auto names = store.ListSubkeys(table, KeyAccess::All);
    ASSERT_EQ(names.size(), 6u) << "a name of 128 characters ends the listing";
    EXPECT_EQ(names.back(), std::string(127, 'm'));
}

TYPED_TEST_P(SettingsStoreContract, DeleteSubkeyRemovesOnlyThatRow) {
    auto& store = this->store();
    const std::string table = this->UserPath("Table");
    store.WriteInt("Table\\1", "DBVER", 1);
    store.WriteInt("Table\\2", "DBVER", 1);
    store.WriteInt("Table\\02", "DBVER", 1);
    store.DeleteSubkey(table, "2");
    store.DeleteSubkey(table, "5");
    store.DeleteSubkey(this->UserPath("Missing"), "1");
    EXPECT_EQ(store.ListSubkeys(table, KeyAccess::Read), (std::vector<std::string>{"02", "1"}));
    EXPECT_EQ(store.GetInt("Table\\2", "DBVER", 0), 0);
}

TYPED_TEST_P(SettingsStoreContract, MachineStringStaysInsideItsBuffer) {
    auto& store = this->store();
    const std::string key = registry::kSettingsKey;
    EXPECT_EQ(store.ReadMachineString(key, "Path"), "");
    this->harness.SetRaw(true, key, "Path", registry::kTypeString,
                         this->Bytes("D:\\Apps\\Vantrel\0"));
    EXPECT_EQ(store.ReadMachineString(key, "Path"), "D:\\Apps\\Vantrel");
    this->harness.SetRaw(true, key, "Dword", registry::kTypeDword, {1, 2, 3, 4});
    EXPECT_EQ(store.ReadMachineString(key, "Dword"), "");
    this->harness.SetRaw(true, key, "Bare", registry::kTypeString, this->Bytes("C:\\x"));
    EXPECT_EQ(store.ReadMachineString(key, "Bare"), "C:\\x");
    const std::string full(1023, 'p');
    this->harness.SetRaw(true, key, "Fits", registry::kTypeString, this->Bytes(full + '\0'));
    EXPECT_EQ(store.ReadMachineString(key, "Fits"), full);
    this->harness.SetRaw(true, key, "FullNoNul", registry::kTypeString, this->Bytes(full + 'q'));
    EXPECT_EQ(store.ReadMachineString(key, "FullNoNul"), full + 'q');
    this->harness.SetRaw(true, key, "TooLong", registry::kTypeString,
                         this->Bytes(std::string(1024, 'r') + '\0'));
    EXPECT_EQ(store.ReadMachineString(key, "TooLong"), "");
}

REGISTER_TYPED_TEST_SUITE_P(SettingsStoreContract, MissingValuesReadAsDefaultsAndCreateNothing,
                            WritesCreateSectionsAndKeepTypes,
                            NamesIgnoreLetterCaseAndTrailingBackslash, MalformedRawValuesReadSafely,
                            ListingIsOrderedAndEndsAtOverlongNames, DeleteSubkeyRemovesOnlyThatRow,
                            MachineStringStaysInsideItsBuffer);

// The tables other programs write, rows of any name, type and size, beside other keys.

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "core/RegistryLayout.h"
#include "fuzz/FuzzInput.h"
#include "recovery/CInterruptedTransferStore.h"
#include "scheduler/CQueueScheduleStore.h"
#include "shared/Fakes.h"
#include "shared/MemorySettingsStore.h"

namespace {

using Hive = MemorySettingsStore::Hive;
using namespace registry;

constexpr int kMaxRows = 48;
const std::string kNeighbours[] = {kQueueTable, kTransferTable, kQueueTable + std::string("2\\1")};
// The first two exist: an empty QueueName must remove its row by its own rule. The third is out
// of reach: its row stays.
const std::string kPaths[] = {"C:\\Q\\a.vq", "", "\\\\host\\q\\A.vq", "C:\\Q\\b.vq"};
// Names at the edges of "%i", and of the 128-byte name buffer, whose overflow ends a listing.
const std::string kLongName(127, '1');
const std::string kOddNames[] = {
    "01", "-0",         "+1",         " 1",          "1 ",          "abc",     "ABC",          "1a",
    "-1", "2147483647", "2147483648", "-2147483648", "-2147483649", kLongName, kLongName + "2"};

// Missing, as it should be, or any bytes of its own or any type.
void AddValue(MemorySettingsStore& store, const std::string& key, const char* name, unsigned type,
              const std::string& usual, FuzzInput& input) {
    const uint8_t form = input.Byte() % 4;
    const std::string bytes = form == 1 ? usual : input.Text(form > 1 ? input.Byte() : 0);
    if (form != 0) {
        store.SetRaw(Hive::User, key, name, form == 3 ? input.Byte() : type,
                     {bytes.begin(), bytes.end()});
    }
}

// A row of either table, perhaps with a subkey (the registry deletes no key that has one); the
// usual values are DBVER 1, DataSize 32 and a 32-byte Data.
void AddRow(MemorySettingsStore& store, FuzzInput& input) {
    const uint8_t shape = input.Byte();
    const uint8_t number = input.Byte();
    const std::string name = number < std::size(kOddNames)
                                 ? kOddNames[number]
                                 : std::to_string(number - std::size(kOddNames));
    const std::string key = std::string(shape & 1 ? kTransferTable : kQueueTable) + "\\" + name;
    store.CreateKey(Hive::User, shape & 2 ? key + "\\1" : key);
    AddValue(store, key, kVersionEntry, kTypeDword, {"\x01\0\0\0", 4}, input);
    if (!(shape & 1)) {
        AddValue(store, key, kQueueNameEntry, kTypeString, kPaths[shape / 4 % 4] + '\0', input);
        AddValue(store, key, kDataSizeEntry, kTypeDword, {"\x20\0\0\0", 4}, input);
        AddValue(store, key, kDataEntry, kTypeBinary, std::string(32, 'r'), input);
    }
}

// The registry the stores work on, and its twin built from the same bytes, to which the rules'
// deletions are made by hand: after every operation the two must be the same.
struct Registry {
    Registry(const uint8_t* data, size_t size) {
        files.files = {kPaths[0], kPaths[1]};
        files.outOfReach = {{kPaths[2], "The network path was not found."}};
        for (MemorySettingsStore* built : {&store, &expected}) {
            for (const std::string& key : kNeighbours) {
                built->SetRaw(Hive::User, key, "Other", kTypeDword, {1, 0, 0, 0});
            }
            FuzzInput input(data, size);
            for (int row = 0; row < kMaxRows && !input.Exhausted(); ++row) {
                AddRow(*built, input);
            }
        }
    }
    void RequireSame(const char* invariant) const {
        Require(store.Dump(Hive::User) == expected.Dump(Hive::User), invariant);
    }

    MemorySettingsStore store;
    MemorySettingsStore expected;
    FakeFileSystem files;
};

// The purge deletes exactly the "%i" rows whose DBVER is not 1 or whose file is surely gone.
void CheckQueueTable(Registry& r) {
    CQueueScheduleStore queues(r.store, r.files);
    std::vector<int> numbers;
    for (const std::string& name : r.store.ListSubkeys(kQueueTable, KeyAccess::Read)) {
        const long long number = std::strtoll(name.c_str(), nullptr, 10);
        if (number < INT_MIN || number > INT_MAX || std::to_string(number) != name) {
            continue;  // not a row: only names exactly as "%i" prints an int are
        }
        numbers.push_back(static_cast<int>(number));
        const std::string key = kQueueSection + ("\\" + name);
        const std::string path = r.store.GetString(key, kQueueNameEntry, "");
        const std::optional<std::vector<uint8_t>> data = r.store.GetBinary(key, kDataEntry);
        const bool current = r.store.GetInt(key, kVersionEntry, 0) == 1;
        std::string read;
        Require(!queues.ReadRow(numbers.back(), read) ||
                    (current && !path.empty() && r.store.GetInt(key, kDataSizeEntry, 0) == 32 &&
                     data && data->size() == 32),
                "a row that breaks the row rules was read as a record");
        const bool gone = r.files.files.count(path) == 0 && r.files.outOfReach.count(path) == 0;
        if (!current || path.empty() || gone) {
            r.expected.DeleteSubkey(kQueueTable, name);
        }
    }
    Require(queues.Enumerate() == numbers, "the \"%i\" rows are not listed once each, in order");
    queues.FindByName(kPaths[0]);
    queues.Purge();
    r.RequireSame("the purge deleted a row that passes the rules, or kept one that breaks them");
}

// Counting deletes exactly the rows whose DBVER is not 1; deleting all, the rows listed.
void CheckTransferTable(Registry& r) {
    CInterruptedTransferStore transfers(r.store);
    std::vector<int> numbers;
    int pending = 0;
    for (const std::string& name : r.store.ListSubkeys(kTransferTable, KeyAccess::Read)) {
        const long long number = std::strtoll(name.c_str(), nullptr, 10);
        const int row = static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX));
        if (std::find(numbers.begin(), numbers.end(), row) == numbers.end()) {
            numbers.push_back(row);
        }
        if (r.store.GetInt(kTransferSection + ("\\" + name), kVersionEntry, 0) == 1) {
            ++pending;
        } else {
            r.expected.DeleteSubkey(kTransferTable, name);
        }
    }
    Require(transfers.Enumerate() == numbers, "the transfer numbers are not listed once each");
    Require(transfers.CountPending() == pending, "the pending count is not the rows with DBVER 1");
    r.RequireSame("counting deleted a pending transfer, or other than those without DBVER 1");
    const std::vector<ListedTransfer> rows = transfers.ListRows();
    for (const std::string& name : r.store.ListSubkeys(kTransferTable, KeyAccess::Read)) {
        r.expected.DeleteSubkey(kTransferTable, name);
    }
    transfers.GiveUp(rows);
    r.RequireSame("deleting all transfers changed more or less than the listed rows");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Registry r(data, size);
    CheckQueueTable(r);
    CheckQueueTable(r);
    CheckTransferTable(r);
    return 0;
}

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ClientLauncher.h"
#include "core/SettingsStore.h"

// One row of the table as it was when listed.
struct ListedTransfer {
    std::string name;
    std::optional<uint64_t> stamp;
};

// The downloader's table of interrupted transfers, one subkey per row, named by its number.
// Reopens the table on every call: the downloader changes it from its own process at any time.
class CInterruptedTransferStore {
public:
    explicit CInterruptedTransferStore(SettingsStore& settings) : settings_(settings) {}
    virtual ~CInterruptedTransferStore() = default;

    // The rows' subkey names in enumeration order; none when the table is missing, or when
    // memory runs out on the way.
    std::vector<std::string> ListNames(KeyAccess access = KeyAccess::All);
    // The rows with their last-write stamps, for giving them up later.
    std::vector<ListedTransfer> ListRows();
    // Deletes each listed row, by its own name, while it is still the row that was listed: one
    // written since records another interruption. A row that has gone is no error.
    void GiveUp(const std::vector<ListedTransfer>& rows);
    // Rows whose DBVER is exactly 1; every other row is deleted on the way.
    int CountPending();
    // The numbers of the rows in enumeration order, whatever their DBVER, each number once
    // ("7" and "07" are one transfer to the downloader); empty for no rows.
    std::vector<int> Enumerate();

private:
    SettingsStore& settings_;
};

// False while the downloader runs, without touching the table; otherwise whether any row is
// pending, after the invalid ones are gone.
bool HasPendingTransfers(ClientLauncher& launcher, SettingsStore& settings);

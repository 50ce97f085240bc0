#pragma once

#include <string>
#include <vector>

#include "core/ClientLauncher.h"
#include "core/SettingsStore.h"

// The downloader's table of interrupted transfers, one subkey per row, named by its number.
// Reopens the table on every call: the downloader changes it from its own process at any time.
class CInterruptedTransferStore {
public:
    explicit CInterruptedTransferStore(SettingsStore& settings) : settings_(settings) {}
    virtual ~CInterruptedTransferStore() = default;

    // The rows' subkey names in enumeration order; none when the table is missing, or when
    // memory runs out on the way.
    std::vector<std::string> ListNames(KeyAccess access = KeyAccess::All);
    // Deletes each row by its own name; a row that has gone is no error.
    void DeleteRows(const std::vector<std::string>& names);
    // Rows whose DBVER is exactly 1; every other row is deleted on the way.
    int CountPending();
    // The number of every row in enumeration order, whatever its DBVER; empty for no rows.
    std::vector<int> Enumerate();

private:
    SettingsStore& settings_;
};

// False while the downloader runs, without touching the table; otherwise whether any row is
// pending, after the invalid ones are gone.
bool HasPendingTransfers(const ClientLauncher& launcher, SettingsStore& settings);

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

    // Deletes the subkey named by the decimal form of the number; a missing row is no error.
    void DeleteRow(int number);
    void DeleteAll();
    // Rows whose DBVER is exactly 1; every other row is deleted on the way.
    int CountPending();
    // The number of every row in enumeration order, whatever its DBVER; empty for no rows.
    std::vector<int> Enumerate();

private:
    void DeleteSubkey(const std::string& name);

    SettingsStore& settings_;
};

// False while the downloader runs, without touching the table; otherwise whether any row is
// pending, after the invalid ones are gone.
bool HasPendingTransfers(const ClientLauncher& launcher, SettingsStore& settings);

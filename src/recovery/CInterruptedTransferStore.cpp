#include "recovery/CInterruptedTransferStore.h"

#include <algorithm>
#include <new>

#include "core/RegistryLayout.h"
#include "core/RowNumber.h"

namespace {

constexpr int32_t kPendingVersion = 1;

std::string RowSection(const std::string& name) {
    return std::string(registry::kTransferSection) + "\\" + name;
}

}  // namespace

// Out of memory while listing means no rows: nothing to resume, nothing to give up.
std::vector<std::string> CInterruptedTransferStore::ListNames(KeyAccess access) {
    try {
        return settings_.ListSubkeys(registry::kTransferTable, access);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

std::vector<ListedTransfer> CInterruptedTransferStore::ListRows() {
    std::vector<ListedTransfer> rows;
    try {
        for (std::string& name : ListNames(KeyAccess::Read)) {
            const auto stamp = settings_.SubkeyStamp(registry::kTransferTable, name);
            rows.push_back({std::move(name), stamp});
        }
    } catch (const std::bad_alloc&) {
        return {};
    }
    return rows;
}

// Rows are deleted by the name they were listed under, never by the number read from it: an
// invalid "07" or "abc" would otherwise take the valid row "7" or "0" with it.
void CInterruptedTransferStore::GiveUp(const std::vector<ListedTransfer>& rows) {
    for (const ListedTransfer& row : rows) {
        if (row.stamp && settings_.SubkeyStamp(registry::kTransferTable, row.name) == row.stamp) {
            settings_.DeleteSubkey(registry::kTransferTable, row.name);
        }
    }
}

int CInterruptedTransferStore::CountPending() {
    int count = 0;
    for (const std::string& name : ListNames(KeyAccess::All)) {
        if (settings_.GetInt(RowSection(name), registry::kVersionEntry, 0) == kPendingVersion) {
            ++count;
        } else {
            settings_.DeleteSubkey(registry::kTransferTable, name);
        }
    }
    return count;
}

std::vector<int> CInterruptedTransferStore::Enumerate() {
    std::vector<int> rows;
    try {
        for (const std::string& name : ListNames(KeyAccess::Read)) {
            const int row = RowNumberFromName(name);
            // Mended: "7" and "07" both started the downloader on fdb://7.
            if (std::find(rows.begin(), rows.end(), row) == rows.end()) {
                rows.push_back(row);
            }
        }
    } catch (const std::bad_alloc&) {
        return {};
    }
    return rows;
}

bool HasPendingTransfers(ClientLauncher& launcher, SettingsStore& settings) {
    if (launcher.IsDownloaderRunning()) {
        return false;
    }
    return CInterruptedTransferStore(settings).CountPending() > 0;
}

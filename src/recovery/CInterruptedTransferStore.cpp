#include "recovery/CInterruptedTransferStore.h"

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

// Rows are deleted by the name they were listed under, never by the number read from it: an
// invalid "07" or "abc" would otherwise take the valid row "7" or "0" with it.
void CInterruptedTransferStore::DeleteRows(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        settings_.DeleteSubkey(registry::kTransferTable, name);
    }
}

int CInterruptedTransferStore::CountPending() {
    int count = 0;
    for (const std::string& name : ListNames(KeyAccess::All)) {
        if (settings_.GetInt(RowSection(name), registry::kVersionEntry, 0) == kPendingVersion) {
            ++count;
        } else {
            DeleteRows({name});
        }
    }
    return count;
}

std::vector<int> CInterruptedTransferStore::Enumerate() {
    std::vector<int> rows;
    for (const std::string& name : ListNames(KeyAccess::Read)) {
        rows.push_back(RowNumberFromName(name));
    }
    return rows;
}

bool HasPendingTransfers(const ClientLauncher& launcher, SettingsStore& settings) {
    if (launcher.IsDownloaderRunning()) {
        return false;
    }
    return CInterruptedTransferStore(settings).CountPending() > 0;
}

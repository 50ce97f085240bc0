#include "recovery/CInterruptedTransferStore.h"

#include "core/RegistryLayout.h"
#include "core/RowNumber.h"

namespace {

constexpr int32_t kPendingVersion = 1;

std::string RowSection(const std::string& name) {
    return std::string(registry::kTransferSection) + "\\" + name;
}

}  // namespace

void CInterruptedTransferStore::DeleteRow(int number) {
    DeleteSubkey(RowName(number));
}

// Rows are deleted by the name they were listed under, never by the number read from it: an
// invalid "07" or "abc" would otherwise take the valid row "7" or "0" with it.
void CInterruptedTransferStore::DeleteAll() {
    for (const std::string& name :
         settings_.ListSubkeys(registry::kTransferTable, KeyAccess::All)) {
        DeleteSubkey(name);
    }
}

int CInterruptedTransferStore::CountPending() {
    int count = 0;
    for (const std::string& name :
         settings_.ListSubkeys(registry::kTransferTable, KeyAccess::All)) {
        if (settings_.GetInt(RowSection(name), registry::kVersionEntry, 0) == kPendingVersion) {
            ++count;
        } else {
            DeleteSubkey(name);
        }
    }
    return count;
}

std::vector<int> CInterruptedTransferStore::Enumerate() {
    std::vector<int> rows;
    for (const std::string& name :
         settings_.ListSubkeys(registry::kTransferTable, KeyAccess::Read)) {
        rows.push_back(RowNumberFromName(name));
    }
    return rows;
}

void CInterruptedTransferStore::DeleteSubkey(const std::string& name) {
    settings_.DeleteSubkey(registry::kTransferTable, name);
}

bool HasPendingTransfers(const ClientLauncher& launcher, SettingsStore& settings) {
    if (launcher.IsDownloaderRunning()) {
        return false;
    }
    return CInterruptedTransferStore(settings).CountPending() > 0;
}

#include "scheduler/CQueueScheduleStore.h"

#include <algorithm>
#include <limits>

#include "core/RegistryLayout.h"
#include "core/RowNumber.h"

namespace {

constexpr int32_t kRowVersion = 1;

std::string SubkeySection(const std::string& subkeyName) {
    return std::string(registry::kQueueSection) + "\\" + subkeyName;
}

std::string RowSection(int row) {
    return SubkeySection(RowName(row)) + "\\";
}

}  // namespace

CQueueScheduleStore::CQueueScheduleStore(SettingsStore& settings, FileSystem& files)
    : settings_(settings), files_(files) {}

void CQueueScheduleStore::DeleteRow(int row) {
    settings_.DeleteSubkey(registry::kQueueTable, RowName(row));
}

int CQueueScheduleStore::FindFreeRow() {
    // A number whose DataSize reads non-zero names an existing subkey, so the walk stops by the
    // number of subkeys + 1.
    int row = 1;
    while (row < std::numeric_limits<int>::max() &&
           settings_.GetInt(RowSection(row), registry::kDataSizeEntry, 0) != 0) {
        ++row;
    }
    return row;
}

int CQueueScheduleStore::FindByName(const std::string& queuePath) {
    for (const std::string& name : settings_.ListSubkeys(registry::kQueueTable, KeyAccess::Read)) {
        // Mended: "01" would answer row 1, another queue's row, which the caller then edits or
        // deletes.
        if (IsCanonicalRowName(name) &&
            settings_.GetString(SubkeySection(name), registry::kQueueNameEntry, "") == queuePath) {
            return RowNumberFromName(name);
        }
    }
    return 0;
}

void CQueueScheduleStore::WriteRow(int row, const ScheduleRecord& record,
                                   const std::string& queuePath) {
    if (row < 1) {
        row = FindFreeRow();
    }
    const std::string section = RowSection(row);
    settings_.WriteInt(section, registry::kVersionEntry, kRowVersion);
    settings_.WriteString(section, registry::kQueueNameEntry, queuePath);
    settings_.WriteInt(section, registry::kDataSizeEntry, static_cast<int32_t>(record.size()));
    settings_.WriteBinary(section, registry::kDataEntry,
                          std::vector<uint8_t>(record.begin(), record.end()));
}

std::optional<ScheduleRecord> CQueueScheduleStore::ReadRow(int row, std::string& queuePath) {
    if (row < 1) {
        return std::nullopt;
    }
    const std::string section = RowSection(row);
    queuePath = settings_.GetString(section, registry::kQueueNameEntry, "");
    const int32_t size = settings_.GetInt(section, registry::kDataSizeEntry, 0);
    const int32_t version = settings_.GetInt(section, registry::kVersionEntry, 0);
    const std::optional<std::vector<uint8_t>> data =
        settings_.GetBinary(section, registry::kDataEntry);
    ScheduleRecord record{};
    if (version != kRowVersion || size != static_cast<int32_t>(record.size()) || !data ||
        data->size() != record.size() || queuePath.empty()) {
        return std::nullopt;
    }
    std::copy(data->begin(), data->end(), record.begin());
    return record;
}

bool CQueueScheduleStore::StillHolds(int row, const std::string& queuePath,
                                     const ScheduleRecord& record) {
    std::string storedPath;
    const std::optional<ScheduleRecord> stored = ReadRow(row, storedPath);
    return stored == record && storedPath == queuePath;
}

std::map<int, std::string> CQueueScheduleStore::Purge() {
    std::vector<std::string> names, queuePaths;  // the rows whose file decides
    // The listing is taken whole before any deletion, so a deletion cannot make the walk skip
    // the subkey after it.
    for (const std::string& name : settings_.ListSubkeys(registry::kQueueTable, KeyAccess::All)) {
        // Mended: deleting by the number converted from "01" or "abc" removed row 1 or row 0,
        // subkeys this test never looked at. Names outside the "%i" form are left alone.
        if (!IsCanonicalRowName(name)) {
            continue;
        }
        const std::string section = SubkeySection(name);
        std::string queuePath = settings_.GetString(section, registry::kQueueNameEntry, "");
        if (queuePath.empty() ||
            settings_.GetInt(section, registry::kVersionEntry, 0) != kRowVersion) {
            settings_.DeleteSubkey(registry::kQueueTable, name);
        } else {
            names.push_back(name);
            queuePaths.push_back(std::move(queuePath));
        }
    }
    // All files in one call: the tests of one purge hold the program for a second at most.
    const std::vector<FileCheck> checks = files_.Probe(queuePaths);
    std::map<int, std::string> outOfReach;
    for (size_t index = 0; index < names.size(); ++index) {
        const FileCheck check = index < checks.size() ? checks[index] : FileCheck{};
        // Mended: the client may have given the subkey to another queue while the files were
        // tested, and that queue's row was deleted.
        if (check.state == FileState::Absent &&
            settings_.GetString(SubkeySection(names[index]), registry::kQueueNameEntry, "") ==
                queuePaths[index]) {
            settings_.DeleteSubkey(registry::kQueueTable, names[index]);
        } else if (check.state == FileState::OutOfReach) {
            outOfReach[RowNumberFromName(names[index])] = check.reason;
        }
    }
    return outOfReach;
}

std::vector<int> CQueueScheduleStore::Enumerate() {
    std::vector<int> rows;
    for (const std::string& name : settings_.ListSubkeys(registry::kQueueTable, KeyAccess::Read)) {
        // "01" would list row 1 a second time, and the pass would start that queue twice.
        if (IsCanonicalRowName(name)) {
            rows.push_back(RowNumberFromName(name));
        }
    }
    return rows;
}

#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/FileSystem.h"
#include "core/SettingsStore.h"
#include "scheduler/ScheduleRecord.h"

// The table of scheduled queues that the client also writes: one subkey per row, named by its
// row number as "%i" formats it, holding DBVER, QueueName, DataSize and Data. Holds no registry
// handle between calls; subkeys whose names are not in the "%i" form are no rows and are never
// listed, found or deleted.
class CQueueScheduleStore {
public:
    CQueueScheduleStore(SettingsStore& settings, FileSystem& files);

    void DeleteRow(int row);
    // The smallest row number whose DataSize reads 0.
    int FindFreeRow();
    // The first row, in enumeration order, whose QueueName equals the path byte for byte; 0 when
    // none does.
    int FindByName(const std::string& queuePath);
    // A row number below 1 writes the first free row.
    void WriteRow(int row, const ScheduleRecord& record, const std::string& queuePath);
    // The record of a valid row. `queuePath` receives the stored QueueName even when the row is
    // invalid, and is left alone for row numbers below 1.
    std::optional<ScheduleRecord> ReadRow(int row, std::string& queuePath);
    // True while the row is valid and still holds this queue and these record bytes. A row number
    // is no identity: the client may have rewritten, deleted or reused it since it was read.
    bool StillHolds(int row, const std::string& queuePath, const ScheduleRecord& record);
    // Deletes the rows whose queue file is surely gone or whose DBVER is not 1. Returns the rows
    // whose queue file is out of reach now, with the reason: kept, but not to be started.
    std::map<int, std::string> Purge();
    // Row numbers in enumeration order; empty when the table has no row.
    std::vector<int> Enumerate();

private:
    SettingsStore& settings_;
    FileSystem& files_;
};

#include "scheduler/QueueSchedules.h"

#include "scheduler/CQueueScheduleStore.h"
#include "scheduler/CSchedule.h"

QueueSchedules::QueueSchedules(SettingsStore& settings, FileSystem& files, ClientLauncher& launcher,
                               const Clock& clock, ModalState& modals)
    : settings_(settings), files_(files), launcher_(launcher), clock_(clock), modals_(modals) {}

std::vector<std::string> QueueSchedules::List() {
    CQueueScheduleStore store(settings_, files_);
    // A running client may be between creating a row and writing its DBVER.
    if (!launcher_.IsClientRunning()) {
        store.Purge();
    }
    std::vector<std::string> names;
    for (const int row : store.Enumerate()) {
        std::string name;
        if (store.ReadRow(row, name)) {
            names.push_back(name);
        }
    }
    return names;
}

QueueChange QueueSchedules::Edit(const std::string& queueName, ScheduleEditor& editor) {
    CQueueScheduleStore store(settings_, files_);
    const int row = store.FindByName(queueName);
    std::string storedName;
    const std::optional<ScheduleRecord> record = store.ReadRow(row, storedName);
    if (!record) {
        return QueueChange::RowGone;
    }
    CSchedule schedule(clock_);
    schedule.FromRecord(*record);
    if (!modals_.Run(ModalKind::ScheduleEditor, [&] { return schedule.Edit(editor); })) {
        return QueueChange::Cancelled;
    }
    // A tick may have run and deleted the row, the client moved its anchor on or given its
    // number to another queue: writing then would start a queue twice or overwrite another.
    if (!store.StillHolds(row, storedName, *record)) {
        return QueueChange::ChangedMeanwhile;
    }
    if (schedule.IsCleared()) {
        store.DeleteRow(row);
        return QueueChange::Deleted;
    }
    store.WriteRow(row, schedule.ToRecord(), storedName);
    return QueueChange::Rewritten;
}

QueueChange QueueSchedules::Remove(const std::string& queueName,
                                   const std::function<bool()>& confirm) {
    CQueueScheduleStore store(settings_, files_);
    const int row = store.FindByName(queueName);
    if (row < 1) {
        return QueueChange::RowGone;
    }
    if (!modals_.Run(ModalKind::Confirmation, confirm)) {
        return QueueChange::Cancelled;
    }
    std::string nameNow;
    store.ReadRow(row, nameNow);
    if (nameNow != queueName) {
        return QueueChange::ChangedMeanwhile;
    }
    store.DeleteRow(row);
    return QueueChange::Deleted;
}

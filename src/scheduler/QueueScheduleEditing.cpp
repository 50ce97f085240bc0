#include "scheduler/QueueScheduleEditing.h"

#include "scheduler/CSchedule.h"

std::vector<std::string> ListScheduledQueues(CQueueScheduleStore& store) {
    store.Purge();
    std::vector<std::string> names;
    for (const int row : store.Enumerate()) {
        std::string name;
        if (store.ReadRow(row, name)) {
            names.push_back(name);
        }
    }
    return names;
}

QueueEditOutcome EditQueueSchedule(CQueueScheduleStore& store, const Clock& clock,
                                   const std::string& queueName, ScheduleEditor& editor) {
    const int row = store.FindByName(queueName);
    std::string storedName;
    const std::optional<ScheduleRecord> record = store.ReadRow(row, storedName);
    if (!record) {
        return QueueEditOutcome::RowGone;
    }
    CSchedule schedule(clock);
    schedule.FromRecord(*record);
    if (!schedule.Edit(editor)) {
        return QueueEditOutcome::Cancelled;
    }
    if (schedule.IsCleared()) {
        store.DeleteRow(row);
        return QueueEditOutcome::Cleared;
    }
    store.WriteRow(row, schedule.ToRecord(), storedName);
    return QueueEditOutcome::Rewritten;
}

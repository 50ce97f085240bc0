#include "scheduler/QueueCheck.h"

#include "scheduler/CQueueScheduleStore.h"
#include "scheduler/CSchedule.h"

namespace {
constexpr int kCheckedRow = 1;
}  // namespace

std::optional<std::string> QueueCheckLine(SettingsStore& settings, FileSystem& files,
                                          const Clock& clock) {
    CQueueScheduleStore store(settings, files);
    std::string queuePath;
    const std::optional<ScheduleRecord> record = store.ReadRow(kCheckedRow, queuePath);
    if (!record) {
        return std::nullopt;
    }
    CSchedule schedule(clock);
    schedule.FromRecord(*record);
    return std::string(schedule.IsDue() ? kQueueMustRunText : kQueueMustNotRunText);
}

#pragma once

#include <string>
#include <vector>

#include "core/Clock.h"
#include "scheduler/CQueueScheduleStore.h"
#include "scheduler/ScheduleEditor.h"

// The names of the scheduled queues, after the rows of vanished queue files have been purged.
// Rows that do not read are left out.
std::vector<std::string> ListScheduledQueues(CQueueScheduleStore& store);

enum class QueueEditOutcome { RowGone, Cancelled, Cleared, Rewritten };

// Finds the queue's row again by its name (the scheduler may have deleted or purged it since the
// list was shown), lets the editor change the schedule, then rewrites the row or, when the user
// cleared the schedule, deletes it.
QueueEditOutcome EditQueueSchedule(CQueueScheduleStore& store, const Clock& clock,
                                   const std::string& queueName, ScheduleEditor& editor);

#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/ClientLauncher.h"
#include "core/Clock.h"
#include "core/FileSystem.h"
#include "core/ModalState.h"
#include "core/SettingsStore.h"
#include "scheduler/ScheduleEditor.h"

enum class QueueChange { RowGone, Cancelled, ChangedMeanwhile, Deleted, Rewritten };

// What the Queue Transfers dialog does to the table. Each row is found again by its queue name at
// every click, and written or deleted only when it still holds what the user was shown: the
// scheduler ticks and the client writes the table while the dialog and its questions are open.
class QueueSchedules {
public:
    QueueSchedules(SettingsStore& settings, FileSystem& files, ClientLauncher& launcher,
                   const Clock& clock, ModalState& modals);

    // The names of the scheduled queues, after the rows of vanished queue files have been purged;
    // rows that do not read are left out.
    std::vector<std::string> List();
    // Lets the editor change the queue's schedule, then rewrites the row or, when the user cleared
    // the schedule, deletes it.
    QueueChange Edit(const std::string& queueName, ScheduleEditor& editor);
    // Deletes the queue's row once `confirm` says so.
    QueueChange Remove(const std::string& queueName, const std::function<bool()>& confirm);

private:
    SettingsStore& settings_;
    FileSystem& files_;
    ClientLauncher& launcher_;
    const Clock& clock_;
    ModalState& modals_;
};

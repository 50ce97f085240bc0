#include "scheduler/CTransferScheduler.h"

#include <algorithm>
#include <optional>
#include <string>

#include "scheduler/CQueueScheduleStore.h"
#include "scheduler/CSchedule.h"

namespace {

constexpr char kStateLinePrefix[] = "Transfer Scheduler ";
constexpr char kEnabledText[] = "Enabled";
constexpr char kDisabledText[] = "Disabled";
constexpr char kTransferringLine[] = "Transfert Scheduler - Transferring Queue:";
constexpr char kNextRunPrefix[] = "Next scheduled transfert for this queue: ";
constexpr char kNoMoreRunsLine[] = "No more scheduled transfert for this queue.";

class BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& busy_;
};

// Last listed first, but starting after the row that the last start went to.
std::vector<int> TurnOrder(std::vector<int> rows, int lastStarted) {
    std::reverse(rows.begin(), rows.end());
    const auto last = std::find(rows.begin(), rows.end(), lastStarted);
    if (last != rows.end()) {
        std::rotate(rows.begin(), last + 1, rows.end());
    }
    return rows;
}

}  // namespace

CTransferScheduler::CTransferScheduler(SettingsStore& settings, FileSystem& files,
                                       ClientLauncher& launcher, const Clock& clock)
    : settings_(settings), files_(files), launcher_(launcher), clock_(clock) {}

bool CTransferScheduler::StartTimer(TimerHost& host) {
    enabled_ = true;
    return host.StartTimer(kSchedulerTimer, kSchedulerPeriodMs);
}

bool CTransferScheduler::StopTimer(TimerHost& host) {
    enabled_ = false;
    return host.StopTimer(kSchedulerTimer);
}

void CTransferScheduler::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Log(std::string(kStateLinePrefix) + (enabled ? kEnabledText : kDisabledText) + ".", kNavy);
}

void CTransferScheduler::OnTimerTick() {
    if (!enabled_ || busy_ || launcher_.IsClientRunning()) {
        return;
    }
    BusyScope scope(busy_);
    RunPass();
}

void CTransferScheduler::RunPass() {
    CQueueScheduleStore store(settings_, files_);
    const std::vector<int> outOfReach = store.Purge();
    for (const int row : TurnOrder(store.Enumerate(), lastStarted_)) {
        // The client announces itself only some time after its start, so a second due row would
        // be launched into a client still starting: it waits for a later tick instead.
        if (std::find(outOfReach.begin(), outOfReach.end(), row) == outOfReach.end() &&
            RunRowIfDue(store, row)) {
            return;
        }
    }
}

bool CTransferScheduler::RunRowIfDue(CQueueScheduleStore& store, int row) {
    std::string queuePath;
    const std::optional<ScheduleRecord> record = store.ReadRow(row, queuePath);
    if (!record) {
        return false;
    }
    CSchedule schedule(clock_);
    schedule.FromRecord(*record);
    if (!schedule.IsDue()) {
        return false;
    }
    // Mended: a start that failed was logged as a run, and a run-once row deleted: the queue
    // never ran. Only a start the shell confirms is a run; the launcher says a failed one.
    if (!launcher_.RunClient(QueueArgument(queuePath))) {
        return true;
    }
    lastStarted_ = row;
    Log(kTransferringLine, kGreen);
    Log(queuePath, kBlack);
    std::string nextRun;
    if (!schedule.GetNextTime(nextRun)) {
        Log(kNoMoreRunsLine, kMaroon);
        // Only the schedule that ran: the client may have rewritten or reused the row by now.
        if (store.StillHolds(row, queuePath, *record)) {
            store.DeleteRow(row);
        }
    } else if (!nextRun.empty()) {
        Log(kNextRunPrefix + nextRun, kGreen);
    }
    return true;
}

void CTransferScheduler::Log(const std::string& text, Colour colour) {
    if (log_ != nullptr) {
        log_->Append(text, colour);
    }
}

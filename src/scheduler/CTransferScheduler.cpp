#include "scheduler/CTransferScheduler.h"

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

}  // namespace

CTransferScheduler::CTransferScheduler(SettingsStore& settings, FileSystem& files,
                                       const ClientLauncher& launcher, const Clock& clock)
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
    store.Purge();
    const std::vector<int> rows = store.Enumerate();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        RunRowIfDue(store, *row);
    }
}

void CTransferScheduler::RunRowIfDue(CQueueScheduleStore& store, int row) {
    std::string queuePath;
    const std::optional<ScheduleRecord> record = store.ReadRow(row, queuePath);
    if (!record) {
        return;
    }
    CSchedule schedule(clock_);
    schedule.FromRecord(*record);
    if (!schedule.IsDue()) {
        return;
    }
    // Mended: the client started for an earlier row would turn this start away unseen; logging
    // it as started and removing a run-once row would lose a queue that never ran.
    if (launcher_.IsClientRunning()) {
        return;
    }
    Log(kTransferringLine, kGreen);
    Log(queuePath, kBlack);
    launcher_.RunClient(QueueArgument(queuePath));
    std::string nextRun;
    if (!schedule.GetNextTime(nextRun)) {
        Log(kNoMoreRunsLine, kMaroon);
        store.DeleteRow(row);
    } else if (!nextRun.empty()) {
        Log(kNextRunPrefix + nextRun, kGreen);
    }
}

void CTransferScheduler::Log(const std::string& text, Colour colour) {
    if (log_ != nullptr) {
        log_->Append(text, colour);
    }
}

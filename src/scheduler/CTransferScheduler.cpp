#include "scheduler/CTransferScheduler.h"

#include <algorithm>
#include <iterator>
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
constexpr char kHeldBackPrefix[] = "Queue not started, could not reach \"";

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
    // Mended: a started companion's process was held until a menu opened, for weeks at times.
    launcher_.ReleaseEndedStarts();
    if (!enabled_ || busy_ || launcher_.IsClientRunning()) {
        return;
    }
    BusyScope scope(busy_);
    RunPass();
}

void CTransferScheduler::RunPass() {
    CQueueScheduleStore store(settings_, files_);
    const std::map<int, std::string> outOfReach = store.Purge();
    const std::vector<int> rows = store.Enumerate();
    ForgetHeldBackRowsNotIn(rows);
    for (const int row : TurnOrder(rows, lastStarted_)) {
        // The client announces itself only some time after its start, so a second due row would
        // be launched into a client still starting: it waits for a later tick instead.
        if (RunRowIfDue(store, row, outOfReach)) {
            return;
        }
    }
}

bool CTransferScheduler::RunRowIfDue(CQueueScheduleStore& store, int row,
                                     const std::map<int, std::string>& outOfReach) {
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
    // Mended: a queue whose file stayed out of reach never ran, and nothing said so.
    if (const auto heldBack = outOfReach.find(row); heldBack != outOfReach.end()) {
        SayHeldBack(row, queuePath, heldBack->second);
        return false;
    }
    // Mended: a start that failed was logged as a run, and a run-once row deleted: the queue
    // never ran. Only a start the shell confirms is a run; the launcher says a failed one.
    if (!launcher_.RunClient(QueueArgument(queuePath))) {
        return true;
    }
    lastStarted_ = row;
    heldBackLines_.erase(row);
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

void CTransferScheduler::SayHeldBack(int row, const std::string& queuePath,
                                     const std::string& reason) {
    const std::string line = kHeldBackPrefix + queuePath + "\": " + reason;
    std::string& said = heldBackLines_[row];
    if (line != said) {
        said = line;
        Log(line, kRed);
    }
}

void CTransferScheduler::ForgetHeldBackRowsNotIn(const std::vector<int>& rows) {
    for (auto said = heldBackLines_.begin(); said != heldBackLines_.end();) {
        const bool listed = std::find(rows.begin(), rows.end(), said->first) != rows.end();
        said = listed ? std::next(said) : heldBackLines_.erase(said);
    }
}

void CTransferScheduler::Log(const std::string& text, Colour colour) {
    if (log_ != nullptr) {
        log_->Append(text, colour);
    }
}

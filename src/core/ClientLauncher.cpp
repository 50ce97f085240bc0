#include "core/ClientLauncher.h"

#include <algorithm>

#include "core/Colours.h"

namespace {

// Counts a start for as long as the shell is at it.
class InFlight {
public:
    explicit InFlight(int& count) : count_(count) { ++count_; }
    ~InFlight() { --count_; }
    InFlight(const InFlight&) = delete;
    InFlight& operator=(const InFlight&) = delete;

private:
    int& count_;
};

}  // namespace

std::string InstallFolderFromSetting(const std::string& storedPath, LeadByteTest isLeadByte) {
    size_t lastCharacter = storedPath.size();
    for (size_t at = 0; at < storedPath.size(); at += isLeadByte(storedPath[at]) ? 2 : 1) {
        lastCharacter = at;
    }
    if (lastCharacter + 1 == storedPath.size() && storedPath[lastCharacter] == '\\') {
        return storedPath;
    }
    return storedPath + "\\";
}

std::string QueueArgument(const std::string& queuePath) {
    return "\"ftq://" + queuePath + "\"";
}

ClientLauncher::ClientLauncher(CompanionPlatform& platform, const TickSource& ticks)
    : platform_(platform), ticks_(ticks) {}

ClientLauncher::~ClientLauncher() {
    ForgetStarts(client_, true);
    ForgetStarts(downloader_, true);
}

bool ClientLauncher::IsRunning(Companion& companion) {
    // Mended: a tick, a copied address or a Start inside the shell's own message loop found no
    // event and no process yet, and started a second client.
    if (companion.startsInFlight > 0) {
        return true;
    }
    if (platform_.IsEventPresent(companion.event)) {
        ForgetStarts(companion, true);  // announced: from now on its event tells
        return true;
    }
    ForgetStarts(companion, false);
    return !companion.comingUp.empty();
}

// Releases the starts that no longer count: all of them, or those whose process has ended or
// that have had their time to announce themselves.
void ClientLauncher::ForgetStarts(Companion& companion, bool all) {
    const uint32_t now = ticks_.TickCount();
    const auto gone = [&](const ComingUp& start) {
        if (all || now - start.startTick >= companions::kComingUpMs ||
            !platform_.IsProcessAlive(start.process)) {
            platform_.ReleaseProcess(start.process);
            return true;
        }
        return false;
    };
    companion.comingUp.erase(
        std::remove_if(companion.comingUp.begin(), companion.comingUp.end(), gone),
        companion.comingUp.end());
}

void ClientLauncher::ReleaseEndedStarts() {
    ForgetStarts(client_, false);
    ForgetStarts(downloader_, false);
}

bool ClientLauncher::RunClient(const std::optional<std::string>& argument) {
    return !IsClientRunning() && Start(client_, argument);
}

bool ClientLauncher::ResumeEntry(int number) {
    return number >= 1 && Start(downloader_, "fdb://" + std::to_string(number));
}

bool ClientLauncher::Start(Companion& companion, const std::optional<std::string>& argument) {
    const std::string programFile = installFolder_ + companion.program;
    StartResult result;
    {
        InFlight starting(companion.startsInFlight);
        result = platform_.ShellOpen(programFile, argument);
    }
    if (!result.started) {
        SayFailure(companion, "Could not start \"" + programFile + "\": " + result.reason);
        return false;
    }
    companion.lastFailure.clear();
    if (result.process != 0) {
        companion.comingUp.push_back({result.process, ticks_.TickCount()});
    }
    return true;
}

// The same failure at every tick would bury the log: it is said again only once a start has
// succeeded or the reason has changed.
void ClientLauncher::SayFailure(Companion& companion, const std::string& line) {
    if (line == companion.lastFailure) {
        return;
    }
    companion.lastFailure = line;
    if (log_ != nullptr) {
        log_->Append(line, kRed);
    }
}

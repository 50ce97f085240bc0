#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/Companions.h"
#include "core/LogSink.h"

namespace companions {
constexpr const char kClientProgram[] = "Vantrel.exe";
constexpr const char kDownloaderProgram[] = "Rushload.exe";
constexpr const char kClientEvent[] = "VANTRELInstance";
constexpr const char kDownloaderEvent[] = "VANTRELRUSHLOADInstance";
// A companion announces itself some seconds after its start; one that has not after this long
// is taken to have failed in its own way.
constexpr uint32_t kComingUpMs = 30000;
}  // namespace companions

// Whether a byte starts a double-byte character in the system code page.
using LeadByteTest = bool (*)(char byte);

// The install folder as stored, made to end in a backslash ("" becomes "\"). Its last character
// decides, not its last byte: in a double-byte code page a trail byte can be a backslash.
std::string InstallFolderFromSetting(const std::string& storedPath, LeadByteTest isLeadByte);

// The argument that starts one scheduled queue: "ftq://<path>" inside double quotes, so a path
// with spaces arrives as one argument.
std::string QueueArgument(const std::string& queuePath);

// Probes and starts the client and the downloader. A companion counts as running from the moment
// this program asks the shell to start it: while the shell is at it (its start can run a message
// loop of its own, for a security warning or an elevation prompt), then while the process started
// here is alive and has not announced itself yet, for kComingUpMs at most. A failed start is said
// in the log once, not at every retry.
class ClientLauncher {
public:
    ClientLauncher(CompanionPlatform& platform, const TickSource& ticks);
    ~ClientLauncher();
    ClientLauncher(const ClientLauncher&) = delete;
    ClientLauncher& operator=(const ClientLauncher&) = delete;

    void SetInstallFolder(const std::string& folder) { installFolder_ = folder; }
    const std::string& InstallFolder() const { return installFolder_; }
    void Attach(LogSink& log) { log_ = &log; }

    bool IsClientRunning() { return IsRunning(client_); }
    bool IsDownloaderRunning() { return IsRunning(downloader_); }
    // Starts the client unless it is running; true only when the shell started it.
    bool RunClient(const std::optional<std::string>& argument = std::nullopt);
    // Starts the downloader with "fdb://<number>" whether it runs or not: the caller decides.
    // Numbers below 1 start nothing.
    bool ResumeEntry(int number);
    // Lets go of the processes that have ended or had their time to announce themselves.
    void ReleaseEndedStarts();

private:
    struct ComingUp {
        uintptr_t process;
        uint32_t startTick;
    };
    struct Companion {
        const char* program;
        const char* event;
        std::vector<ComingUp> comingUp;
        std::string lastFailure;  // the line written for the last failed start
        int startsInFlight = 0;   // starts the shell has not answered yet
    };

    bool IsRunning(Companion& companion);
    void ForgetStarts(Companion& companion, bool all);
    bool Start(Companion& companion, const std::optional<std::string>& argument);
    void SayFailure(Companion& companion, const std::string& line);

    CompanionPlatform& platform_;
    const TickSource& ticks_;
    std::string installFolder_;
    LogSink* log_ = nullptr;
    Companion client_{companions::kClientProgram, companions::kClientEvent, {}, {}, 0};
    Companion downloader_{companions::kDownloaderProgram, companions::kDownloaderEvent, {}, {}, 0};
};

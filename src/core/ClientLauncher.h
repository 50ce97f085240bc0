#pragma once

#include <optional>
#include <string>

#include "core/Companions.h"

namespace companions {
constexpr const char kClientProgram[] = "Vantrel.exe";
constexpr const char kDownloaderProgram[] = "Rushload.exe";
constexpr const char kClientEvent[] = "VANTRELInstance";
constexpr const char kDownloaderEvent[] = "VANTRELRUSHLOADInstance";
}  // namespace companions

// Whether a byte starts a double-byte character in the system code page.
using LeadByteTest = bool (*)(char byte);

// The install folder as stored, made to end in a backslash ("" becomes "\"). Its last character
// decides, not its last byte: in a double-byte code page a trail byte can be a backslash.
std::string InstallFolderFromSetting(const std::string& storedPath, LeadByteTest isLeadByte);

// The argument that starts one scheduled queue: "ftq://<path>" inside double quotes, so a path
// with spaces arrives as one argument.
std::string QueueArgument(const std::string& queuePath);

// Probes and starts the client and the downloader; keeps no handle and no state but the folder.
class ClientLauncher {
public:
    explicit ClientLauncher(CompanionPlatform& platform) : platform_(platform) {}

    void SetInstallFolder(const std::string& folder) { installFolder_ = folder; }
    const std::string& InstallFolder() const { return installFolder_; }

    bool IsClientRunning() const;
    bool IsDownloaderRunning() const;
    // Starts the client unless it is running; the shell's outcome is not looked at.
    void RunClient(const std::optional<std::string>& argument = std::nullopt) const;
    // Starts the downloader with "fdb://<number>"; numbers below 1 start nothing.
    void ResumeEntry(int number) const;

private:
    CompanionPlatform& platform_;
    std::string installFolder_;
};

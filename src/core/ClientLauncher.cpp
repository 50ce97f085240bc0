#include "core/ClientLauncher.h"

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

bool ClientLauncher::IsClientRunning() const {
    return platform_.IsEventPresent(companions::kClientEvent);
}

bool ClientLauncher::IsDownloaderRunning() const {
    return platform_.IsEventPresent(companions::kDownloaderEvent);
}

void ClientLauncher::RunClient(const std::optional<std::string>& argument) const {
    if (IsClientRunning()) {
        return;
    }
    platform_.ShellOpen(installFolder_ + companions::kClientProgram, argument);
}

void ClientLauncher::ResumeEntry(int number) const {
    if (number < 1) {
        return;
    }
    platform_.ShellOpen(installFolder_ + companions::kDownloaderProgram,
                        "fdb://" + std::to_string(number));
}

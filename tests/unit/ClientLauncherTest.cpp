#include "core/ClientLauncher.h"

#include <gtest/gtest.h>

#include "shared/Fakes.h"

namespace {

// Shift-JIS, where the trail byte of a double-byte character can be 0x5C, the backslash.
bool IsShiftJisLeadByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return (value >= 0x81 && value <= 0x9F) || (value >= 0xE0 && value <= 0xFC);
}

}  // namespace

// Mended: a folder ending in a character whose trail byte is a backslash got no separator.
TEST(ClientLauncher, InstallFolderEndsInABackslashCharacter) {
    const std::pair<const char*, const char*> cases[] = {
        {"D:\\Apps\\Vantrel", "D:\\Apps\\Vantrel\\"},
        {"D:\\Apps\\Vantrel\\", "D:\\Apps\\Vantrel\\"},
        {"", "\\"},
        {"C:\\\x95\x5C", "C:\\\x95\x5C\\"},
        {"C:\\\x95\x5C\\", "C:\\\x95\x5C\\"},
        {"C:\\a\x95", "C:\\a\x95\\"}};
    for (const auto& [stored, folder] : cases) {
        EXPECT_EQ(InstallFolderFromSetting(stored, IsShiftJisLeadByte), folder) << stored;
    }
}

// Mended: a companion that this program had started counted as not running until it announced
// itself, or while the shell was still starting it (a tick inside its security prompt), and was
// started a second time; a failed start went unnoticed.
TEST(ClientLauncher, ACompanionRunsFromItsStartAndAFailedStartIsSaidOncePerReason) {
    FakeCompanions companions;
    FakeTicks ticks;
    RecordingLog log;
    ClientLauncher launcher(companions, ticks);
    launcher.Attach(log);
    const auto runs = [&](uint32_t at) {
        ticks.now = at;
        return launcher.IsClientRunning();
    };
    companions.onLaunch = [&] {
        companions.onLaunch = nullptr;
        EXPECT_TRUE(launcher.IsClientRunning() && !launcher.IsDownloaderRunning());
        EXPECT_FALSE(launcher.RunClient());
    };
    EXPECT_TRUE(launcher.RunClient());
    EXPECT_FALSE(launcher.RunClient());
    EXPECT_TRUE(runs(companions::kComingUpMs - 1));
    EXPECT_FALSE(runs(companions::kComingUpMs));  // it has had its time
    EXPECT_TRUE(launcher.RunClient());
    companions.alive.clear();
    EXPECT_FALSE(runs(0));  // it ended without announcing itself
    EXPECT_TRUE(launcher.RunClient());
    companions.presentEvents = {companions::kClientEvent};
    EXPECT_TRUE(runs(0));
    companions.presentEvents.clear();
    EXPECT_FALSE(runs(0));  // announced, then gone
    // One resume starts the downloader once per row, coming up or not.
    EXPECT_TRUE(launcher.ResumeEntry(7) && launcher.ResumeEntry(4));
    EXPECT_TRUE(launcher.IsDownloaderRunning());
    EXPECT_EQ(companions.launches.size(), 5u);

    companions.alive.clear();
    for (const char* reason :
         {"File not found.", "File not found.", "Access denied.", "", "Access denied."}) {
        companions.failure = reason;
        launcher.RunClient();
        launcher.ResumeEntry(1);
        companions.alive.clear();
    }
    const auto failed = [](const char* program, const char* reason) {
        return LoggedLine{"Could not start \"" + std::string(program) + "\": " + reason, kRed};
    };
    EXPECT_EQ(
        log.lines,
        (std::vector<LoggedLine>{
            failed("Vantrel.exe", "File not found."), failed("Rushload.exe", "File not found."),
            failed("Vantrel.exe", "Access denied."), failed("Rushload.exe", "Access denied."),
            failed("Vantrel.exe", "Access denied."), failed("Rushload.exe", "Access denied.")}));
    EXPECT_EQ(companions.launches.size(), 15u);
}

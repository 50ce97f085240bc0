#include "app/Win32CompanionPlatform.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "core/ClientLauncher.h"
#include "shared/Fakes.h"

// A failed start carries the system's own words, for the log.
TEST(CompanionPlatform, ProbeSeesTheEventAndLeavesNoHandleOpenAndAFailedStartSaysWhy) {
    Win32CompanionPlatform platform;
    FakeTicks ticks;
    ClientLauncher launcher(platform, ticks);
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, "VANTRELInstance");
    DWORD before = 0, after = 0;
    GetProcessHandleCount(GetCurrentProcess(), &before);
    for (int probe = 0; probe < 1000; ++probe) {
        ASSERT_TRUE(launcher.IsClientRunning());
        ASSERT_FALSE(launcher.IsDownloaderRunning());
    }
    GetProcessHandleCount(GetCurrentProcess(), &after);
    EXPECT_EQ(after, before);
    CloseHandle(event);
    EXPECT_FALSE(launcher.IsClientRunning());
    const StartResult missing = platform.ShellOpen("C:\\No such folder\\Vantrel.exe", "x");
    EXPECT_FALSE(missing.started);
    EXPECT_TRUE(missing.reason == SystemMessage(ERROR_FILE_NOT_FOUND) ||
                missing.reason == SystemMessage(ERROR_PATH_NOT_FOUND))
        << missing.reason;
    EXPECT_EQ(SystemMessage(0xE0000001), "error 3758096385");
}

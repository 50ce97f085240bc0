#include "app/Win32CompanionPlatform.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "core/ClientLauncher.h"

TEST(CompanionPlatform, ProbeSeesTheEventAndLeavesNoHandleOpen) {
    Win32CompanionPlatform platform;
    ClientLauncher launcher(platform);
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
}

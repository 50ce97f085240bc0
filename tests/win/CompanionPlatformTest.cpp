#include "app/Win32CompanionPlatform.h"

#include "app/SystemMessage.h"

#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include "core/ClientLauncher.h"
#include "shared/Fakes.h"

namespace {

// An event as a companion run as administrator makes it: `dacl` says who may do what.
HANDLE CreateGuardedEvent(const char* name, const char* dacl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorA(dacl, SDDL_REVISION_1, &descriptor,
                                                         nullptr);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    HANDLE event = CreateEventA(&attributes, FALSE, FALSE, name);
    LocalFree(descriptor);
    return event;
}

}  // namespace

// A failed start carries the system's own words, for the log.
// Mended: an event that refused this program full access, as a companion run as administrator
// makes it, counted as absent and the running client was started again at every tick.
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
    // Waiting only for everyone; nothing at all for anyone.
    for (const char* dacl : {"D:(A;;0x00100000;;;WD)", "D:P"}) {
        event = CreateGuardedEvent("VANTRELInstance", dacl);
        ASSERT_NE(event, nullptr) << dacl;
        EXPECT_EQ(OpenEventA(EVENT_ALL_ACCESS, FALSE, "VANTRELInstance"), nullptr);
        EXPECT_TRUE(launcher.IsClientRunning()) << dacl;
        CloseHandle(event);
    }
    const StartResult missing = platform.ShellOpen("C:\\No such folder\\Vantrel.exe", "x");
    EXPECT_FALSE(missing.started);
    EXPECT_TRUE(missing.reason == SystemMessage(ERROR_FILE_NOT_FOUND) ||
                missing.reason == SystemMessage(ERROR_PATH_NOT_FOUND))
        << missing.reason;
    EXPECT_EQ(SystemMessage(0xE0000001), "error 3758096385");
}

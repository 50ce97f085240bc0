#include "app/Win32CompanionPlatform.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "core/ClientLauncher.h"

namespace {

// What the stand-in recorded once it holds that many lines: the shell starts it asynchronously.
std::string RecordedArguments(const std::string& file, long lines) {
    std::string content;
    for (int attempt = 0; attempt < 200 && std::count(content.begin(), content.end(), '\n') < lines;
         ++attempt, Sleep(50)) {
        std::ifstream input(file);
        content.assign(std::istreambuf_iterator<char>(input), {});
    }
    return content;
}

}  // namespace

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

TEST(CompanionPlatform, StartsTheStandInsWithExactlyTheExpectedArgumentText) {
    std::string folder = std::string("Z:") + STANDIN_DIR + "/";
    std::replace(folder.begin(), folder.end(), '/', '\\');
    DeleteFileA((folder + "Vantrel.args.txt").c_str());
    DeleteFileA((folder + "Rushload.args.txt").c_str());
    Win32CompanionPlatform platform;
    ClientLauncher launcher(platform);
    launcher.SetInstallFolder(folder);
    launcher.RunClient();
    EXPECT_EQ(RecordedArguments(folder + "Vantrel.args.txt", 1), "\n");
    launcher.RunClient(QueueArgument("C:\\My Queues\\night run.ftq"));
    EXPECT_EQ(RecordedArguments(folder + "Vantrel.args.txt", 2),
              "\n\"ftq://C:\\My Queues\\night run.ftq\"\n");
    launcher.ResumeEntry(7);
    EXPECT_EQ(RecordedArguments(folder + "Rushload.args.txt", 1), "fdb://7\n");
}

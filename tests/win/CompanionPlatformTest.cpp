#include "app/Win32CompanionPlatform.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/ClientLauncher.h"

namespace {

std::string StandInFolder() {
    std::string folder = std::string("Z:") + STANDIN_DIR + "/";
    for (char& c : folder) {
        if (c == '/') {
            c = '\\';
        }
    }
    return folder;
}

// Waits for the stand-in to record its arguments: the shell starts it asynchronously.
std::string WaitForArguments(const std::string& file, size_t lines) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        std::ifstream input(file);
        std::stringstream text;
        text << input.rdbuf();
        const std::string content = text.str();
        if (static_cast<size_t>(std::count(content.begin(), content.end(), '\n')) >= lines) {
            return content;
        }
        Sleep(50);
    }
    return "(timed out)";
}

class CompanionPlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteFileA((folder + "Vantrel.args.txt").c_str());
        DeleteFileA((folder + "Rushload.args.txt").c_str());
        launcher.SetInstallFolder(folder);
    }
    const std::string folder = StandInFolder();
    Win32CompanionPlatform platform;
    ClientLauncher launcher{platform};
};

}  // namespace

TEST_F(CompanionPlatformTest, ProbeSeesTheEventAndLeavesNoHandleOpen) {
    EXPECT_FALSE(launcher.IsClientRunning());
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, "VANTRELInstance");
    ASSERT_NE(event, nullptr);
    DWORD before = 0;
    GetProcessHandleCount(GetCurrentProcess(), &before);
    for (int probe = 0; probe < 1000; ++probe) {
        ASSERT_TRUE(launcher.IsClientRunning());
        ASSERT_FALSE(launcher.IsDownloaderRunning());
    }
    DWORD after = 0;
    GetProcessHandleCount(GetCurrentProcess(), &after);
    EXPECT_EQ(after, before);
    CloseHandle(event);
    EXPECT_FALSE(launcher.IsClientRunning());
}

TEST_F(CompanionPlatformTest, StartsTheStandInsWithExactlyTheExpectedArgumentText) {
    launcher.RunClient();
    EXPECT_EQ(WaitForArguments(folder + "Vantrel.args.txt", 1), "\n");
    launcher.RunClient(QueueArgument("C:\\My Queues\\night run.ftq"));
    EXPECT_EQ(WaitForArguments(folder + "Vantrel.args.txt", 2),
              "\n\"ftq://C:\\My Queues\\night run.ftq\"\n");
    launcher.ResumeEntry(7);
    EXPECT_EQ(WaitForArguments(folder + "Rushload.args.txt", 1), "fdb://7\n");
}

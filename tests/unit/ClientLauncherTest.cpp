#include "core/ClientLauncher.h"

#include <gtest/gtest.h>

#include "shared/Fakes.h"

TEST(InstallFolder, EndsInExactlyOneBackslash) {
    EXPECT_EQ(InstallFolderFromSetting("D:\\Apps\\Vantrel"), "D:\\Apps\\Vantrel\\");
    EXPECT_EQ(InstallFolderFromSetting("D:\\Apps\\Vantrel\\"), "D:\\Apps\\Vantrel\\");
    EXPECT_EQ(InstallFolderFromSetting(""), "\\");
}

TEST(ClientLauncher, RunClientPassesTheArgumentUnchangedOrNone) {
    FakeCompanions platform;
    ClientLauncher launcher(platform);
    launcher.SetInstallFolder("C:\\Program Files\\Vantrel\\");
    launcher.RunClient();
    launcher.RunClient(QueueArgument("C:\\My Queues\\night.ftq"));
    EXPECT_EQ(platform.launches,
              (std::vector<Launch>{
                  {"C:\\Program Files\\Vantrel\\Vantrel.exe", std::nullopt},
                  {"C:\\Program Files\\Vantrel\\Vantrel.exe", "\"ftq://C:\\My Queues\\night.ftq\""}}));
}

TEST(ClientLauncher, RunClientDoesNothingWhileTheClientRuns) {
    FakeCompanions platform;
    ClientLauncher launcher(platform);
    platform.presentEvents.insert("VANTRELInstance");
    launcher.RunClient(std::string("\"ftq://x\""));
    launcher.RunClient();
    EXPECT_TRUE(platform.launches.empty());
    EXPECT_TRUE(launcher.IsClientRunning());
    EXPECT_FALSE(launcher.IsDownloaderRunning());
}

TEST(ClientLauncher, TwoStartsBeforeTheClientAppearsBothReachTheShell) {
    FakeCompanions platform;
    ClientLauncher launcher(platform);
    launcher.RunClient();
    launcher.RunClient();
    EXPECT_EQ(platform.launches.size(), 2u);
}

TEST(ClientLauncher, ResumeEntryStartsTheDownloaderForPositiveNumbersOnly) {
    FakeCompanions platform;
    ClientLauncher launcher(platform);
    launcher.SetInstallFolder(InstallFolderFromSetting(""));
    platform.presentEvents.insert("VANTRELRUSHLOADInstance");  // not the launcher's decision
    for (int number : {0, -4, 7, 2147483647}) {
        launcher.ResumeEntry(number);
    }
    EXPECT_EQ(platform.launches, (std::vector<Launch>{{"\\Rushload.exe", "fdb://7"},
                                                      {"\\Rushload.exe", "fdb://2147483647"}}));
}

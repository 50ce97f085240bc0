#include "e2e/E2eTest.h"

#include <shellapi.h>

#include <regex>

using StartupTest = E2eTest;

TEST_F(StartupTest, StartsHiddenAloneKeepsItsIconAndClosesOnlyOnOk) {
    ASSERT_TRUE(monitor.Start());
    EXPECT_FALSE(IsWindowVisible(monitor.Frame()));
    const std::regex startLine(
        R"(\[ \d\d/\d\d/\d\d \d\d:\d\d:\d\d \]  Vantrel Monitor started\.\r\n\r\n)");
    EXPECT_TRUE(std::regex_match(monitor.LogText(), startLine)) << monitor.LogText();

    EXPECT_EQ(MonitorProcess::RunSecondCopy(15000), 0u);
    EXPECT_EQ(FindWindowExA(nullptr, monitor.Frame(), "VantrelMonitorFrame", nullptr), nullptr);

    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = monitor.Frame();
    icon.uID = 1;
    Shell_NotifyIconA(NIM_DELETE, &icon);  // what a restarting shell forgets
    ASSERT_FALSE(monitor.IsTrayIconShown());
    monitor.Send(RegisterWindowMessageA("TaskbarCreated"), 0);
    EXPECT_TRUE(monitor.IsTrayIconShown());

    // Mended: Start picked again before the client had announced itself started another one.
    standIns.AnnounceAfter("Vantrel", 2000);
    monitor.PostCommand(ID_START_CLIENT);
    monitor.PostCommand(ID_START_CLIENT);
    EXPECT_EQ(standIns.ClientStarts(2, 4000), std::vector<std::string>{""});

    for (const int answer : {IDCANCEL, IDOK}) {
        monitor.PostCommand(ID_EXIT);
        HWND box = monitor.WaitForWindow("Vantrel Monitor");
        ASSERT_NE(box, nullptr);
        ASSERT_NE(box, monitor.Frame());
        ClickButton(box, answer);
        EXPECT_EQ(monitor.WaitForExit(answer == IDOK ? 5000 : 500), answer == IDOK);
    }
}

// Mended: a log that could not be created ended the program at start-up. (Wine's per-program
// setting keeps the rich edit library from loading.)
TEST_F(StartupTest, WithoutItsLogTheProgramStillStartsAndRunsItsQueues) {
    const std::string onceFile = standIns.CreateQueueFile("Nightly backup.ftq");
    SeedQueueRow("1", onceFile, dueOnce);
    const char kOverrides[] = "Software\\Wine\\AppDefaults\\VantrelMonitor.exe\\DllOverrides";
    RegSetKeyValueA(HKEY_CURRENT_USER, kOverrides, "riched20", REG_SZ, "disabled", 9);
    const bool started = monitor.Start();
    RegDeleteTreeA(HKEY_CURRENT_USER, kOverrides);
    ASSERT_TRUE(started);
    EXPECT_EQ(FindWindowExA(monitor.Frame(), nullptr, "RichEdit20A", nullptr), nullptr);
    monitor.Send(WM_TIMER, kSchedulerTimer);
    EXPECT_EQ(standIns.ClientStarts(1, 5000), std::vector<std::string>{QueueArgument(onceFile)});
}

// Mended: the log's library was loaded by its name, so looked for beside the program and in its
// working folder first, where a library planted by anyone who can write there (Downloads, a
// share) ran inside the program. (Wine's per-program setting takes a library found there first.)
TEST_F(StartupTest, ALibraryPlantedBesideTheProgramOrInItsWorkingFolderIsNotLoaded) {
    const std::string downloads = standIns.Folder() + "Downloads";
    const std::string working = downloads + "\\Working";
    for (const std::string& folder : {downloads, working}) {
        CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_TRUE(CopyFileA(WindowsPath(PLANTED_LIBRARY).c_str(),
                              (folder + "\\riched20.dll").c_str(), FALSE));
    }
    const std::string program = downloads + "\\VantrelMonitor.exe";
    ASSERT_TRUE(CopyFileA(WindowsPath(MONITOR_EXE).c_str(), program.c_str(), FALSE));
    const char kOverrides[] = "Software\\Wine\\AppDefaults\\VantrelMonitor.exe\\DllOverrides";
    RegSetKeyValueA(HKEY_CURRENT_USER, kOverrides, "riched20", REG_SZ, "native,builtin", 15);
    const bool started = monitor.Start(program, working);
    RegDeleteTreeA(HKEY_CURRENT_USER, kOverrides);
    ASSERT_TRUE(started);
    EXPECT_NE(FindWindowExA(monitor.Frame(), nullptr, "RichEdit20A", nullptr), nullptr);
    HANDLE planted = OpenEventA(SYNCHRONIZE, FALSE, "VantrelPlantedLibraryLoaded");
    EXPECT_EQ(planted, nullptr);
    CloseHandle(planted);
}

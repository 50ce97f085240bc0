#include "app/Win32FileSystem.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <new>

namespace {

HANDLE shareAnswers = nullptr;
std::atomic<DWORD> leastErrorMode{~0u};  // the error mode bits that every test ran with
std::atomic<int> brokenTests{0};

// The file system as it is, but for the share \\slow\queues, which answers only when told to, and
// the share \\broken\queues, whose test runs out of memory.
DWORD WINAPI SeamQuery(LPCSTR path) {
    leastErrorMode &= GetThreadErrorMode();
    if (_strnicmp(path, "\\\\slow\\", 7) == 0) {
        WaitForSingleObject(shareAnswers, 20000);
        SetLastError(ERROR_BAD_NETPATH);
        return INVALID_FILE_ATTRIBUTES;
    }
    if (_strnicmp(path, "\\\\broken\\", 9) == 0) {
        ++brokenTests;
        throw std::bad_alloc();
    }
    return GetFileAttributesA(path);
}

std::string ShellFolder(int folder) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

}  // namespace

// Mended: a queue file on a share that did not answer, or on a drive not there yet, counted as
// gone and the purge deleted its row; a test that blocked held the program with it; a file that
// only the VirtualStore holds (the program run elevated) counted as gone; a test that ran out of
// memory ended the program from a pool thread; a drive without its medium could raise a box.
TEST(Win32FileSystem, OnlyAFileSurelyGoneIsAbsentAndAShareThatDoesNotAnswerIsNotWaitedFor) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string folder(self, std::strrchr(self, '\\'));
    // Where the client, run as a standard user, wrote a queue file under Program Files.
    const std::string installed = ShellFolder(CSIDL_PROGRAM_FILES) + "\\Vantrel test";
    const std::string stored =
        ShellFolder(CSIDL_LOCAL_APPDATA) + "\\VirtualStore" + installed.substr(2);
    SHCreateDirectoryExA(nullptr, stored.c_str(), nullptr);
    std::ofstream(stored + "\\stored.ftq") << "queue\n";
    shareAnswers = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const UINT processMode = GetErrorMode();
    Win32FileSystem files(SeamQuery);
    using State = FileState;
    const std::pair<std::vector<std::string>, std::vector<State>> calls[] = {
        {{"\\\\slow\\queues\\a.ftq", self, folder + "\\gone.ftq", folder + "\\no folder\\a.ftq",
          "Q:\\Queues\\a.ftq", "gone.ftq", "\\\\broken\\queues\\a.ftq", installed + "\\stored.ftq",
          installed + "\\nowhere.ftq"},
         {State::OutOfReach, State::Present, State::Absent, State::Absent, State::OutOfReach,
          State::Absent, State::OutOfReach, State::OutOfReach, State::Absent}},
        // Still being tested since the last call: not tested, and not waited for, again.
        {{"\\\\SLOW\\queues\\b.ftq", self, "\\\\broken\\queues\\b.ftq"},
         {State::OutOfReach, State::Present, State::OutOfReach}},
    };
    for (const auto& [paths, states] : calls) {
        const DWORD start = GetTickCount();
        const std::vector<FileCheck> checks = files.Probe(paths);
        EXPECT_LT(GetTickCount() - start, 5000u);  // a quarter of what the share would take
        ASSERT_EQ(checks.size(), states.size());
        for (size_t at = 0; at < checks.size(); ++at) {
            EXPECT_EQ(checks[at].state, states[at]) << paths[at];
            EXPECT_EQ(checks[at].reason.empty(), states[at] != State::OutOfReach) << paths[at];
        }
    }
    EXPECT_EQ(files.Probe({installed + "\\stored.ftq"})[0].reason, kOnlyInVirtualStoreReason);
    EXPECT_EQ(brokenTests, 2);
    const DWORD noBoxes = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;
    EXPECT_EQ(leastErrorMode & noBoxes, noBoxes);
    EXPECT_EQ(GetErrorMode(), processMode);  // which the companions inherit
    SetEvent(shareAnswers);
    DeleteFileA((stored + "\\stored.ftq").c_str());
}

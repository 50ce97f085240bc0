#include "app/Win32FileSystem.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

HANDLE shareAnswers = nullptr;

// The file system as it is, but for the share \\slow\queues, which answers only when told to.
DWORD WINAPI SlowShareQuery(LPCSTR path) {
    if (_strnicmp(path, "\\\\slow\\", 7) == 0) {
        WaitForSingleObject(shareAnswers, 20000);
        SetLastError(ERROR_BAD_NETPATH);
        return INVALID_FILE_ATTRIBUTES;
    }
    return GetFileAttributesA(path);
}

}  // namespace

// Mended: a queue file on a share that did not answer, or on a drive not there yet, counted as
// gone and the purge deleted its row; and a test that blocked held the program with it.
TEST(Win32FileSystem, OnlyAFileSurelyGoneIsAbsentAndAShareThatDoesNotAnswerIsNotWaitedFor) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string folder(self, std::strrchr(self, '\\'));
    shareAnswers = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Win32FileSystem files(SlowShareQuery);
    using State = FileState;
    const std::pair<std::vector<std::string>, std::vector<State>> calls[] = {
        {{"\\\\slow\\queues\\a.ftq", self, folder + "\\gone.ftq", folder + "\\no folder\\a.ftq",
          "Q:\\Queues\\a.ftq", "gone.ftq"},
         {State::OutOfReach, State::Present, State::Absent, State::Absent, State::OutOfReach,
          State::Absent}},
        // Still being tested since the last call: not tested, and not waited for, again.
        {{"\\\\SLOW\\queues\\b.ftq", self}, {State::OutOfReach, State::Present}},
    };
    for (const auto& [paths, states] : calls) {
        const DWORD start = GetTickCount();
        EXPECT_EQ(files.Probe(paths), states);
        EXPECT_LT(GetTickCount() - start, 5000u);  // a quarter of what the share would take
    }
    SetEvent(shareAnswers);
}

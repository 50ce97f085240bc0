// Runs the black-box tests, or with "--command <id>" posts one menu command to the running
// monitor (scripts/run uses it to open the window for its screenshot).

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--command") == 0) {
        HWND frame = FindWindowA("VantrelMonitorFrame", "Vantrel Monitor");
        if (frame == nullptr) {
            return 1;
        }
        return PostMessageA(frame, WM_COMMAND, std::atoi(argv[2]), 0) ? 0 : 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

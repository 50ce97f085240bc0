// Runs the black-box tests, or posts a menu command to a running monitor by hand
// (scripts/run opens the window for its screenshot so): driver.exe --command <id>

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--command") == 0) {
        // A monitor still starting (some seconds under emulation) is waited for, a minute at most.
        HWND frame = nullptr;
        for (int wait = 0; wait < 600 && frame == nullptr; ++wait, Sleep(100)) {
            frame = FindWindowA("VantrelMonitorFrame", "Vantrel Monitor");
        }
        return frame != nullptr && PostMessageA(frame, WM_COMMAND, std::atoi(argv[2]), 0) ? 0 : 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

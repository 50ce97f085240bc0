// Runs the black-box tests, or drives a running monitor by hand (scripts/run uses it to open the
// window for its screenshot):
//   driver.exe --command <id>   posts a menu command
//   driver.exe --timer <id>     sends a timer tick (1 URL monitor, 2 scheduler)
//   driver.exe --copy <text>    puts text on the clipboard
//   driver.exe --tray <message> sends a mouse message (e.g. 516, WM_RBUTTONDOWN) from the tray icon

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

bool CopyText(const char* text) {
    const size_t size = std::strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr) {
        return false;
    }
    std::memcpy(GlobalLock(block), text, size);
    GlobalUnlock(block);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    const bool copied = SetClipboardData(CF_TEXT, block) != nullptr;
    CloseClipboard();
    return copied;
}

int DriveByHand(const char* option, const char* value) {
    HWND frame = FindWindowA("VantrelMonitorFrame", "Vantrel Monitor");
    if (std::strcmp(option, "--copy") == 0) {
        return CopyText(value) ? 0 : 1;
    }
    if (frame == nullptr) {
        return 1;
    }
    if (std::strcmp(option, "--command") == 0) {
        return PostMessageA(frame, WM_COMMAND, std::atoi(value), 0) ? 0 : 1;
    }
    if (std::strcmp(option, "--tray") == 0) {
        return PostMessageA(frame, RegisterWindowMessageA("NIconMessage"), 1, std::atoi(value)) ? 0
                                                                                                : 1;
    }
    if (std::strcmp(option, "--timer") == 0) {
        SendMessageA(frame, WM_TIMER, std::atoi(value), 0);
        return 0;
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strncmp(argv[1], "--", 2) == 0 && std::strncmp(argv[1], "--gtest", 7)) {
        return DriveByHand(argv[1], argv[2]);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

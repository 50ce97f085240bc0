#include "app/Win32Clipboard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

using namespace std::string_literals;

namespace {

HWND MessageWindow() {
    return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// Replaces the clipboard's contents; nothing for a null handle.
void Put(UINT format, HANDLE data) {
    HWND window = MessageWindow();
    ASSERT_TRUE(OpenClipboard(window));
    EmptyClipboard();
    if (data != nullptr) {
        SetClipboardData(format, data);
    }
    CloseClipboard();
    DestroyWindow(window);
}

HANDLE TextBlock(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

// Read through its own window by another thread: Wine lets two threads open it for no window.
std::string ReadAndCheckReleased() {
    const std::string text = Win32Clipboard().GetClipboardText();
    bool reopened = false;
    std::thread([&reopened] {
        HWND window = MessageWindow();
        reopened = OpenClipboard(window) && CloseClipboard();
        DestroyWindow(window);
    }).join();
    EXPECT_TRUE(reopened) << "the read left the clipboard open";
    return text;
}

}  // namespace

TEST(Clipboard, ReadsTextUpToItsFirstNulAndNothingWithoutText) {
    std::string huge;
    while (huge.size() < 6 * 1024 * 1024) {
        huge += "ftp://ftp.example.com/line\r\n";
    }
    const struct {
        std::string stored;
        std::string read;
    } cases[] = {{"  ftp://host/ \r\nsecond\r\n\0"s, "  ftp://host/ \r\nsecond\r\n"},
                 {"ftp://host/\0hidden\0"s, "ftp://host/"},
                 {"\0\0"s, ""},
                 {huge + '\0', huge}};
    for (const auto& c : cases) {
        Put(CF_TEXT, TextBlock(c.stored));
        EXPECT_TRUE(ReadAndCheckReleased() == c.read) << c.stored.substr(0, 20);
    }
    Put(CF_TEXT, nullptr);
    EXPECT_EQ(ReadAndCheckReleased(), "");
    const DWORD pixel = 0;
    Put(CF_BITMAP, CreateBitmap(1, 1, 1, 32, &pixel));
    EXPECT_EQ(ReadAndCheckReleased(), "");
}

// Wine puts a NUL of its own at the end of stored CF_TEXT, so the block is read directly: a
// fixed block shrunk in place keeps its old bytes past its end, where a copy up to a NUL would
// run on.
TEST(Clipboard, NeverReadsPastTheEndOfABlockThatHoldsNoNul) {
    for (size_t size : {size_t{1}, size_t{3 * 1024 * 1024 + 5}}) {
        HGLOBAL block = GlobalAlloc(GMEM_FIXED, 2 * size);
        std::memset(block, 'f', 2 * size);
        ASSERT_EQ(GlobalReAlloc(block, size, 0), block);
        EXPECT_EQ(TextOfGlobalBlock(block), std::string(size, 'f'));
        GlobalFree(block);
    }
}

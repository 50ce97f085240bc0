#include "app/Win32Clipboard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

using namespace std::string_literals;

namespace {

HWND CreateMessageWindow() {
    return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// Through a window of its own: Wine lets two threads open the clipboard for no window at once.
bool AnotherThreadCanOpenTheClipboard() {
    bool opened = false;
    std::thread other([&opened] {
        HWND window = CreateMessageWindow();
        opened = OpenClipboard(window) != FALSE;
        if (opened) {
            CloseClipboard();
        }
        DestroyWindow(window);
    });
    other.join();
    return opened;
}

HGLOBAL BlockWith(const void* bytes, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block != nullptr) {
        memcpy(GlobalLock(block), bytes, size);
        GlobalUnlock(block);
    }
    return block;
}

// A CF_TEXT block filled to its last byte, as a careless program may leave it.
HGLOBAL UnterminatedBlock(size_t requested, char fill, size_t& filled) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, requested);
    filled = block == nullptr ? 0 : GlobalSize(block);
    if (block != nullptr) {
        memset(GlobalLock(block), fill, filled);
        GlobalUnlock(block);
    }
    return block;
}

class Clipboard : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = CreateMessageWindow();
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override { DestroyWindow(window_); }

    // Replaces the whole clipboard; a null block leaves it empty.
    void Put(UINT format, HANDLE data) {
        ASSERT_TRUE(OpenClipboard(window_));
        EmptyClipboard();
        if (data != nullptr) {
            EXPECT_NE(SetClipboardData(format, data), nullptr);
        }
        CloseClipboard();
    }
    void PutBytes(const std::string& bytes) { Put(CF_TEXT, BlockWith(bytes.data(), bytes.size())); }
    void PutText(const std::string& text) { PutBytes(text + '\0'); }

    std::string Read(HWND owner = nullptr) {
        Win32Clipboard clipboard(owner);
        std::string text = clipboard.GetClipboardText();
        EXPECT_TRUE(AnotherThreadCanOpenTheClipboard()) << "the read left the clipboard open";
        return text;
    }

    HWND window_ = nullptr;
};

}  // namespace

TEST_F(Clipboard, ReadsTextByteForByteUpToItsFirstNul) {
    struct Case {
        std::string stored;
        std::string read;
    };
    const std::vector<Case> cases{
        {"ftp://ftp.example.com/pub/\0"s, "ftp://ftp.example.com/pub/"},
        {"  ftp://host/ \r\nsecond line\r\n\0"s, "  ftp://host/ \r\nsecond line\r\n"},
        {"caf\xE9 \xA0na\xEFve\t\0"s, "caf\xE9 \xA0na\xEFve\t"},
        {"ftp://host/\0hidden after the NUL\0"s, "ftp://host/"},
        {"\0\0\0\0"s, ""},
    };
    for (const Case& c : cases) {
        PutBytes(c.stored);
        EXPECT_EQ(Read(), c.read);
    }
}

TEST_F(Clipboard, ReadsOnBehalfOfTheOwnerWindow) {
    PutText("ftp://ftp.example.com/");
    EXPECT_EQ(Read(window_), "ftp://ftp.example.com/");
}

TEST_F(Clipboard, ReadsSeveralMegabytesWhole) {
    std::string text;
    for (int line = 0; text.size() < 6 * 1024 * 1024; ++line) {
        text += "ftp://ftp.example.com/line/" + std::to_string(line) + "\r\n";
    }
    PutText(text);
    const std::string read = Read();
    EXPECT_EQ(read.size(), text.size());
    EXPECT_TRUE(read == text);
}

TEST_F(Clipboard, StopsWithinABlockThatHoldsNoNul) {
    for (size_t requested : {size_t{1}, size_t{4093}, size_t{3 * 1024 * 1024 + 5}}) {
        size_t filled = 0;
        Put(CF_TEXT, UnterminatedBlock(requested, 'f', filled));
        ASSERT_GE(filled, requested);
        const std::string read = Read();
        // Wine writes a NUL of its own into the last byte of stored CF_TEXT; Windows does not.
        EXPECT_LE(read.size(), filled) << requested;
        EXPECT_GE(read.size() + 1, filled) << requested;
        EXPECT_EQ(read.find_first_not_of('f'), std::string::npos) << requested;
    }
}

// A fixed block shrunk in place keeps its old bytes beyond the new end, so a copy that ran on
// to a NUL would come back longer.
TEST(ClipboardBlock, StopsAtTheEndOfABlockThatHoldsNoNul) {
    for (size_t size : {size_t{1}, size_t{4093}, size_t{3 * 1024 * 1024 + 5}}) {
        HGLOBAL block = GlobalAlloc(GMEM_FIXED, 2 * size);
        ASSERT_NE(block, nullptr);
        memset(block, 'f', 2 * size);
        ASSERT_EQ(GlobalReAlloc(block, size, 0), block);
        ASSERT_EQ(GlobalSize(block), size);
        EXPECT_EQ(TextOfGlobalBlock(block), std::string(size, 'f')) << size;
        GlobalFree(block);
    }
}

TEST_F(Clipboard, ReadsNothingFromAnEmptyClipboard) {
    Put(CF_TEXT, nullptr);
    EXPECT_EQ(Read(), "");
}

TEST_F(Clipboard, ReadsNothingWhenOnlyABitmapIsThere) {
    const DWORD pixel = 0x00FF0000;
    HBITMAP bitmap = CreateBitmap(1, 1, 1, 32, &pixel);
    ASSERT_NE(bitmap, nullptr);
    Put(CF_BITMAP, bitmap);
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_EQ(Read(), "");
}

TEST_F(Clipboard, ReadsUnicodeTextInTheSystemCodePage) {
    const wchar_t text[] = L"ftp://ftp.example.com/pub/";
    Put(CF_UNICODETEXT, BlockWith(text, sizeof text));
    EXPECT_EQ(Read(), "ftp://ftp.example.com/pub/");
}

TEST_F(Clipboard, ReadsNothingWhileAnotherThreadHoldsItOpen) {
    PutText("ftp://ftp.example.com/");
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    bool held = false;
    std::thread holder([&] {
        HWND window = CreateMessageWindow();
        held = OpenClipboard(window) != FALSE;
        SetEvent(opened);
        WaitForSingleObject(release, INFINITE);
        if (held) {
            CloseClipboard();
        }
        DestroyWindow(window);
    });
    WaitForSingleObject(opened, INFINITE);
    EXPECT_TRUE(held);
    EXPECT_EQ(Win32Clipboard().GetClipboardText(), "");
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
    EXPECT_EQ(Read(), "ftp://ftp.example.com/");
}

#include "app/Win32Clipboard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

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

#include "app/Win32Keyboard.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

void SendKey(WORD key, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags =
        (key == VK_RCONTROL ? KEYEVENTF_EXTENDEDKEY : 0) | (down ? 0 : KEYEVENTF_KEYUP);
    ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
}

}  // namespace

TEST(Keyboard, SeesEitherCtrlKeyOnlyWhileItIsDown) {
    Win32Keyboard keyboard;
    EXPECT_FALSE(keyboard.IsCtrlDown());
    for (WORD key : {VK_LCONTROL, VK_RCONTROL}) {
        SendKey(key, true);
        EXPECT_TRUE(keyboard.IsCtrlDown()) << key;
        SendKey(key, false);
        EXPECT_FALSE(keyboard.IsCtrlDown()) << key;
    }
}

#include "app/Win32Keyboard.h"

#include <windows.h>

namespace {

constexpr USHORT kKeyIsDown = 0x8000;

}  // namespace

bool Win32Keyboard::IsCtrlDown() {
    return (static_cast<USHORT>(GetAsyncKeyState(VK_CONTROL)) & kKeyIsDown) != 0;
}

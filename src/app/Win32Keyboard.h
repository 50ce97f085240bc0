#pragma once

#include "core/KeyboardState.h"

class Win32Keyboard : public KeyboardState {
public:
    bool IsCtrlDown() override;
};

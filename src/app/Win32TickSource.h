#pragma once

#include <windows.h>

#include "core/Clock.h"

class Win32TickSource : public TickSource {
public:
    uint32_t TickCount() const override { return GetTickCount(); }
};

#pragma once

#include <cstdint>

// The window that owns the workers' timers.
class TimerHost {
public:
    virtual ~TimerHost() = default;
    virtual bool StartTimer(uintptr_t id, unsigned periodMs) = 0;
    virtual bool StopTimer(uintptr_t id) = 0;
};

#pragma once

#include <cstdint>
#include <ctime>

#include "core/Time32.h"

class Clock {
public:
    virtual ~Clock() = default;
    virtual Time32 Now() const = 0;
};

class SystemClock : public Clock {
public:
    Time32 Now() const override { return static_cast<Time32>(std::time(nullptr)); }
};

// Milliseconds since an arbitrary start, wrapping every 49.7 days like the system tick count.
class TickSource {
public:
    virtual ~TickSource() = default;
    virtual uint32_t TickCount() const = 0;
};

#pragma once

#include <string>

#include "core/Colours.h"

// Where every subsystem writes its timestamped, coloured lines.
class LogSink {
public:
    virtual ~LogSink() = default;
    // Nonzero when the line was written, 0 when the view has no window.
    virtual int Append(const std::string& message, Colour colour) = 0;
};

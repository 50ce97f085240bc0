#pragma once

#include <cstdint>
#include <string>

// The default-button value that names the first button; any other value names the second.
constexpr int kFirstButton = 1;

const std::string& DefaultCaption(int defaultButton, const std::string& firstCaption,
                                  const std::string& secondCaption);

// "Auto-selecting "<caption>" in <seconds> second(s) ..."
std::string CountdownLine(const std::string& caption, uint32_t seconds);

struct CountdownStep {
    bool lineChanged;
    bool timeUp;
};

// The whole seconds left of a timeout, counted on the system's millisecond tick count.
class Countdown {
public:
    Countdown(uint32_t timeoutMs, uint32_t startTick);

    uint32_t SecondsShown() const { return secondsShown_; }
    // Time is up at the first tick with less than a whole second left.
    CountdownStep OnTick(uint32_t now);

private:
    uint32_t RemainingMs(uint32_t now) const;

    uint32_t timeoutMs_;
    uint32_t startTick_;
    uint32_t secondsShown_;
};

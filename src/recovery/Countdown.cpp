#include "recovery/Countdown.h"

namespace {

constexpr uint32_t kMsPerSecond = 1000;

}  // namespace

const std::string& DefaultCaption(int defaultButton, const std::string& firstCaption,
                                  const std::string& secondCaption) {
    return defaultButton == kFirstButton ? firstCaption : secondCaption;
}

std::string CountdownLine(const std::string& caption, uint32_t seconds) {
    return "Auto-selecting \"" + caption + "\" in " + std::to_string(seconds) + " second(s) ...";
}

Countdown::Countdown(uint32_t timeoutMs, uint32_t startTick)
    : timeoutMs_(timeoutMs), startTick_(startTick), secondsShown_(timeoutMs / kMsPerSecond) {}

CountdownStep Countdown::OnTick(uint32_t now) {
    const uint32_t seconds = RemainingMs(now) / kMsPerSecond;
    const bool changed = seconds != secondsShown_;
    secondsShown_ = seconds;
    return {changed, seconds == 0};
}

// The tick count wraps every 49.7 days; only the elapsed time, taken modulo 2^32, stays right
// across the wrap, where a deadline tick computed at the start may already have wrapped.
uint32_t Countdown::RemainingMs(uint32_t now) const {
    const uint32_t elapsed = now - startTick_;
    return elapsed >= timeoutMs_ ? 0 : timeoutMs_ - elapsed;
}

#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// A broken invariant ends the run the way a sanitizer does, so the fuzzer keeps the input.
inline void Require(bool holds, const char* invariant) {
    if (!holds) {
        std::fprintf(stderr, "Invariant violated: %s\n", invariant);
        std::abort();
    }
}

// A fuzzer's bytes, front to back; past their end reads give zeros or nothing.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : next_(data), end_(data + size) {}

    bool Exhausted() const { return next_ == end_; }

    uint8_t Byte() { return Exhausted() ? 0 : *next_++; }

    int32_t Int32() {
        const uint32_t b0 = Byte(), b1 = Byte(), b2 = Byte(), b3 = Byte();  // little-endian
        return static_cast<int32_t>(b0 | b1 << 8 | b2 << 16 | b3 << 24);
    }

    std::string Text(size_t count) {
        const uint8_t* from = next_;
        next_ += std::min<size_t>(count, end_ - next_);
        return std::string(from, next_);
    }

private:
    const uint8_t* next_;
    const uint8_t* end_;
};

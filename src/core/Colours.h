#pragma once

#include <cstdint>

// COLORREF values, 0x00BBGGRR.
using Colour = uint32_t;

constexpr Colour kNavy = 0x00800000;    // start-up, state and resume lines
constexpr Colour kGreen = 0x00008000;   // an action taken
constexpr Colour kBlack = 0x00000000;   // the detail after an action line
constexpr Colour kMaroon = 0x00000080;  // a schedule's last run
constexpr Colour kBlue = 0x00FF0000;    // the URL-monitor toggle's check line
constexpr Colour kRed = 0x000000FF;     // a start that failed
constexpr Colour kLogBackground = 0x00E4E4E4;
constexpr Colour kCountdownBlue = 0x00B40000;

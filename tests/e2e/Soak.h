#pragma once

// Weeks of a tray program's life compressed: both timers' messages sent back to back over a
// table of rows that are never due, with the clipboard changing under the URL monitor. Shared
// by the soak test (a reduced run) and the benchmarks (the full run). Header-only so that both
// build it without another source file.

#include <algorithm>
#include <cstdint>
#include <string>

#include "e2e/MonitorHarness.h"

struct SoakPlan {
    int urlTicks;
    int schedulerPasses;
};

constexpr int kSoakRows = 50;
// The first ticks and passes grow the heap and the clipboard cache to their working size.
constexpr SoakPlan kSoakWarmUp{400, 20};
// Every so many URL ticks the clipboard gets new text; the ticks between see the same text.
constexpr int kSoakTicksPerCopy = 4;
constexpr UINT_PTR kSoakUrlTimer = 1;
constexpr UINT_PTR kSoakSchedulerTimer = 2;

// Rows whose schedules are read and judged on every pass but are never due, so that no pass
// writes a line: disabled, starting next year, ended last year, monthly from next year.
inline void SeedNeverDueRows(int rows, const std::string& queueFile) {
    constexpr Time32 kYear = 365 * 86400;
    const Time32 now = Now();
    const ScheduleRecord records[] = {
        RecordOf({{RecordField::StartTime, now - kYear},
                  {RecordField::AnchorTime, now - kYear},
                  {RecordField::DisabledFlag, 1},
                  {RecordField::Count, 1},
                  {RecordField::Unit, 1}}),
        RecordOf({{RecordField::StartTime, now + kYear},
                  {RecordField::AnchorTime, now + kYear},
                  {RecordField::OnceFlag, 1}}),
        RecordOf({{RecordField::StartTime, now - 2 * kYear},
                  {RecordField::EndTime, now - kYear},
                  {RecordField::AnchorTime, now - 2 * kYear},
                  {RecordField::EndDateFlag, 1},
                  {RecordField::Count, 5},
                  {RecordField::Unit, 2}}),
        RecordOf({{RecordField::StartTime, now + kYear},
                  {RecordField::AnchorTime, now + kYear},
                  {RecordField::Count, 1},
                  {RecordField::Unit, 4}}),
    };
    for (int row = 1; row <= rows; ++row) {
        SeedQueueRow(std::to_string(row), queueFile, records[row % 4]);
    }
}

// Texts that the monitor reads, compares, cuts and parses, none of them an FTP URL: the log
// stays as it is and no client starts.
inline std::string SoakClipboardText(int copy) {
    const std::string number = std::to_string(copy);
    const std::string texts[] = {"note " + number, "http://www.example.com/page" + number + ".html",
                                 "  " + number + " words\r\non two lines\r\n"};
    return texts[copy % 3];
}

// A leak grows with the work: over two equal stretches of it, both grow. Growth in one stretch
// only is the heap settling or, under emulation, the emulator's own memory, which the process's
// figure includes there.
inline uint64_t RepeatedGrowth(uint64_t before, uint64_t middle, uint64_t after) {
    return std::min(middle > before ? middle - before : 0, after > middle ? after - middle : 0);
}

// False when the clipboard could not be set; the monitor's replies are waited for throughout.
inline bool DriveSoak(const MonitorProcess& monitor, const SoakPlan& plan) {
    const int ticksPerPass = std::max(1, plan.urlTicks / std::max(1, plan.schedulerPasses));
    for (int tick = 0, passes = 0; tick < plan.urlTicks || passes < plan.schedulerPasses; ++tick) {
        if (tick < plan.urlTicks) {
            if (tick % kSoakTicksPerCopy == 0 &&
                !CopyToClipboard(SoakClipboardText(tick / kSoakTicksPerCopy))) {
                return false;
            }
            monitor.Send(WM_TIMER, kSoakUrlTimer);
        }
        if (passes < plan.schedulerPasses && (tick >= plan.urlTicks || tick % ticksPerPass == 0)) {
            monitor.Send(WM_TIMER, kSoakSchedulerTimer);
            ++passes;
        }
    }
    return true;
}

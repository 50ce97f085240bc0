#pragma once

#include <optional>

#include "bench/Comparison.h"
#include "e2e/ProcessFootprint.h"
#include "e2e/Soak.h"

// Process CPU time of the idle monitor (hidden in the tray, the URL monitor's preference on, text
// on the clipboard) against the bare timers, both running for the same seconds side by side.
Comparison MeasureIdleCpu(int seconds, int runs);

// The round trip of one scheduler timer message over a table of never-due rows, against the
// bare registry reads answering the same message.
Comparison MeasureSchedulerPass(int rows, int runs);

// From process creation to the window hidden with its notification-area icon shown, against the
// bare window; the two are started one after the other in each run.
Comparison MeasureStartUp(int runs);

struct SoakFigures {
    ProcessFootprint afterStartUp;
    ProcessFootprint afterWarmUp;
    ProcessFootprint afterFirstHalf;  // the soak is driven in two equal halves
    ProcessFootprint afterSoak;
    bool logUnchanged = false;
    bool rowsKept = false;
};

// Nothing when the monitor could not be started or the clipboard not set.
std::optional<SoakFigures> MeasureSoak(const SoakPlan& plan);

struct LogSoakPlan {
    int lines;         // appended in all, one command each
    int timedAppends;  // the last so many before the bound and before the end
};

struct LogAppends {
    double medianSeconds = 0;
    double meanSeconds = 0;  // with the removals of old lines, which the median leaves out
    double slowestSeconds = 0;
    SIZE_T privateBytes = 0;
    int linesHeld = 0;
};

struct LogSoakFigures {
    SIZE_T startUpBytes = 0;
    int startUpLines = 0;
    LogAppends atBound;  // once the log holds its most lines
    LogAppends atEnd;
    bool newestKept = false;
};

// Lines appended to the log of the real program, one command each: memory and the time of an
// append once the log is full and after many more lines. Nothing when the monitor did not start.
std::optional<LogSoakFigures> MeasureLogSoak(const LogSoakPlan& plan);

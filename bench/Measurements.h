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
    ProcessFootprint afterSoak;
    bool logUnchanged = false;
    bool rowsKept = false;
};

// Nothing when the monitor could not be started or the clipboard not set.
std::optional<SoakFigures> MeasureSoak(const SoakPlan& plan);

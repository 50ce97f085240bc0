#include "bench/BenchProcess.h"
#include "bench/BenchSetup.h"
#include "bench/Measurements.h"
#include "bench/Programs.h"
#include "bench/WindowClasses.h"
#include "scheduler/CTransferScheduler.h"

Comparison MeasureSchedulerPass(int rows, int runs) {
    PrepareMonitorSettings();
    SeedNeverDueRows(rows, BenchQueueFile());
    BenchProcess monitor(kMonitorProgram);
    BenchProcess bare(kBareRegistryReadsProgram);
    HWND frame = monitor.WaitUntilHiddenInTray(kMonitorFrameClass, kStartWaitMs);
    HWND bareWindow = bare.WaitForWindow(kBareRegistryReadsClass, kStartWaitMs);
    if (frame == nullptr || bareWindow == nullptr) {
        return {};
    }
    // The first pass of each brings the registry's pages and the heap to their working state.
    TimeSentMessage(frame, WM_TIMER, kSchedulerTimer);
    TimeSentMessage(bareWindow, WM_TIMER, kSchedulerTimer);
    std::vector<double> monitorSeconds;
    std::vector<double> bareSeconds;
    for (int run = 0; run < runs; ++run) {
        monitorSeconds.push_back(TimeSentMessage(frame, WM_TIMER, kSchedulerTimer));
        bareSeconds.push_back(TimeSentMessage(bareWindow, WM_TIMER, kSchedulerTimer));
    }
    return Compare(monitorSeconds, bareSeconds);
}

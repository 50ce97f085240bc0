#include "bench/BenchProcess.h"
#include "bench/BenchSetup.h"
#include "bench/Measurements.h"
#include "bench/Programs.h"
#include "bench/WindowClasses.h"

namespace {

// Start-up work is over by then; only the timers' cost is measured.
constexpr DWORD kSettleMs = 2000;

}  // namespace

Comparison MeasureIdleCpu(int seconds, int runs) {
    std::vector<double> monitorSeconds;
    std::vector<double> bareSeconds;
    for (int run = 0; run < runs; ++run) {
        PrepareMonitorSettings();
        BenchProcess monitor(kMonitorProgram);
        BenchProcess bare(kBareTimersProgram);
        if (monitor.WaitUntilHiddenInTray(kMonitorFrameClass, kStartWaitMs) == nullptr ||
            bare.WaitForWindow(kBareTimersClass, kStartWaitMs) == nullptr) {
            continue;
        }
        Sleep(kSettleMs);
        const double monitorStart = monitor.CpuSeconds();
        const double bareStart = bare.CpuSeconds();
        Sleep(static_cast<DWORD>(seconds) * 1000);
        monitorSeconds.push_back(monitor.CpuSeconds() - monitorStart);
        bareSeconds.push_back(bare.CpuSeconds() - bareStart);
    }
    return Compare(monitorSeconds, bareSeconds);
}

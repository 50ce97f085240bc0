#include "bench/BenchProcess.h"
#include "bench/BenchSetup.h"
#include "bench/Measurements.h"
#include "bench/Programs.h"
#include "bench/WindowClasses.h"

namespace {

// Seconds until the program's window is hidden with its icon shown; nothing when it never is.
std::optional<double> TimeStartUp(const char* program, const char* windowClass) {
    const double start = Seconds();
    BenchProcess process(program);
    if (!process.IsStarted() ||
        process.WaitUntilHiddenInTray(windowClass, kStartWaitMs) == nullptr) {
        return std::nullopt;
    }
    return Seconds() - start;
}

}  // namespace

Comparison MeasureStartUp(int runs) {
    PrepareMonitorSettings();
    // The first start of each loads the system libraries into the page cache.
    TimeStartUp(kMonitorProgram, kMonitorFrameClass);
    TimeStartUp(kBareWindowProgram, kBareWindowClass);
    std::vector<double> monitorSeconds;
    std::vector<double> bareSeconds;
    for (int run = 0; run < runs; ++run) {
        const std::optional<double> monitor = TimeStartUp(kMonitorProgram, kMonitorFrameClass);
        const std::optional<double> bare = TimeStartUp(kBareWindowProgram, kBareWindowClass);
        if (monitor && bare) {
            monitorSeconds.push_back(*monitor);
            bareSeconds.push_back(*bare);
        }
    }
    return Compare(monitorSeconds, bareSeconds);
}

#include "bench/BenchSetup.h"
#include "bench/Measurements.h"
#include "e2e/MonitorHarness.h"

std::optional<SoakFigures> MeasureSoak(const SoakPlan& plan) {
    PrepareMonitorSettings();
    SeedNeverDueRows(kSoakRows, BenchQueueFile());
    MonitorProcess monitor;
    if (!monitor.Start() || !WaitUntil([&monitor] {
            return !IsWindowVisible(monitor.Frame()) && monitor.IsTrayIconShown();
        })) {
        return std::nullopt;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(monitor.Frame(), &processId);
    const std::string log = monitor.LogText();

    SoakFigures figures;
    figures.afterStartUp = MeasureFootprint(processId);
    if (!DriveSoak(monitor, kSoakWarmUp)) {
        return std::nullopt;
    }
    figures.afterWarmUp = MeasureFootprint(processId);
    const SoakPlan half{plan.urlTicks / 2, plan.schedulerPasses / 2};
    if (!DriveSoak(monitor, half)) {
        return std::nullopt;
    }
    figures.afterFirstHalf = MeasureFootprint(processId);
    if (!DriveSoak(monitor, half)) {
        return std::nullopt;
    }
    figures.afterSoak = MeasureFootprint(processId);
    figures.logUnchanged = monitor.LogText() == log;
    figures.rowsKept = QueueRowNames().size() == static_cast<size_t>(kSoakRows);
    return figures;
}

#include "bench/BenchSetup.h"

#include "e2e/MonitorHarness.h"

void PrepareMonitorSettings() {
    const StandIns standIns;
    standIns.Reset();
    ResetRegistry(standIns.Folder());
    SetUrlMonitorPreference(1);
    CopyToClipboard("text on the clipboard while the monitor idles");
}

std::string BenchQueueFile() {
    return StandIns().CreateQueueFile("Bench.ftq");
}

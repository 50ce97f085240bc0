#include <algorithm>
#include <numeric>

#include "bench/BenchProcess.h"
#include "bench/BenchSetup.h"
#include "bench/Measurements.h"
#include "e2e/MonitorHarness.h"
#include "res/resource.h"
#include "ui/CActivityLog.h"

namespace {

constexpr char kAppendedLine[] = "URL Monitor Enabled.";

int LineCount(const MonitorProcess& monitor) {
    const std::string text = monitor.LogText();
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Appends lines through the command that writes one each, and times the last of them.
LogAppends AppendLines(const MonitorProcess& monitor, int lines, int timed) {
    std::vector<double> seconds;
    for (int line = 0; line < lines; ++line) {
        const double time = TimeSentMessage(monitor.Frame(), WM_COMMAND, ID_ENABLE_URL_MONITOR);
        if (line >= lines - timed) {
            seconds.push_back(time);
        }
    }
    LogAppends appends;
    if (!seconds.empty()) {
        appends.medianSeconds = Median(seconds);
        appends.meanSeconds = std::accumulate(seconds.begin(), seconds.end(), 0.0) / seconds.size();
        appends.slowestSeconds = *std::max_element(seconds.begin(), seconds.end());
    }
    appends.privateBytes = MeasureFootprint(monitor.ProcessId()).privateBytes;
    appends.linesHeld = LineCount(monitor);
    return appends;
}

}  // namespace

std::optional<LogSoakFigures> MeasureLogSoak(const LogSoakPlan& plan) {
    PrepareMonitorSettings();
    MonitorProcess monitor;
    if (!monitor.Start() || !WaitUntil([&monitor] { return !IsWindowVisible(monitor.Frame()); })) {
        return std::nullopt;
    }
    LogSoakFigures figures;
    figures.startUpBytes = MeasureFootprint(monitor.ProcessId()).privateBytes;
    figures.startUpLines = LineCount(monitor);
    const int toBound = std::min(plan.lines, CActivityLog::kMaxLines - figures.startUpLines);
    figures.atBound = AppendLines(monitor, toBound, plan.timedAppends);
    figures.atEnd = AppendLines(monitor, plan.lines - toBound, plan.timedAppends);
    const std::vector<std::string> messages = monitor.LogMessages();
    figures.newestKept = !messages.empty() && messages.back() == kAppendedLine;
    return figures;
}

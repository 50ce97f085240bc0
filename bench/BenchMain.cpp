// Measures the monitor against its baselines and prints one "name value" line per figure, for
// scripts/bench to put into bench/RESULTS.md. Each measurement is named with its sizes:
//   bench.exe [idle SECONDS RUNS] [pass ROWS RUNS] [startup RUNS] [soak URL_TICKS PASSES]
//             [logsoak LINES TIMED_APPENDS]

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/Measurements.h"

namespace {

void Print(const std::string& name, double value) {
    std::printf("%s %.9g\n", name.c_str(), value);
    std::fflush(stdout);
}

void PrintComparison(const std::string& name, const Comparison& comparison) {
    Print(name + ".ratio", comparison.ratio);
    Print(name + ".monitor", comparison.subject);
    Print(name + ".baseline", comparison.baseline);
    Print(name + ".runs", comparison.runs);
}

void PrintFootprint(const std::string& name, const ProcessFootprint& footprint) {
    Print(name + ".handles", footprint.handles);
    Print(name + ".windows", footprint.windows);
    Print(name + ".user_objects", footprint.userObjects);
    Print(name + ".gdi_objects", footprint.gdiObjects);
    Print(name + ".private_bytes", static_cast<double>(footprint.privateBytes));
    Print(name + ".committed_bytes", static_cast<double>(footprint.committedBytes));
}

bool RunSoak(int urlTicks, int passes) {
    const std::optional<SoakFigures> figures = MeasureSoak(SoakPlan{urlTicks, passes});
    if (!figures) {
        return false;
    }
    Print("soak.url_ticks", urlTicks);
    Print("soak.passes", passes);
    PrintFootprint("soak.start_up", figures->afterStartUp);
    PrintFootprint("soak.warm_up", figures->afterWarmUp);
    PrintFootprint("soak.half", figures->afterFirstHalf);
    PrintFootprint("soak.end", figures->afterSoak);
    Print("soak.log_unchanged", figures->logUnchanged);
    Print("soak.rows_kept", figures->rowsKept);
    return true;
}

void PrintLogAppends(const std::string& name, const LogAppends& appends) {
    Print(name + ".append_ms", appends.medianSeconds * 1000);
    Print(name + ".mean_ms", appends.meanSeconds * 1000);
    Print(name + ".slowest_ms", appends.slowestSeconds * 1000);
    Print(name + ".private_bytes", static_cast<double>(appends.privateBytes));
    Print(name + ".lines", appends.linesHeld);
}

bool RunLogSoak(int lines, int timedAppends) {
    const std::optional<LogSoakFigures> figures = MeasureLogSoak(LogSoakPlan{lines, timedAppends});
    if (!figures) {
        return false;
    }
    Print("logsoak.lines", lines);
    Print("logsoak.timed", timedAppends);
    Print("logsoak.start_up.private_bytes", static_cast<double>(figures->startUpBytes));
    Print("logsoak.start_up.lines", figures->startUpLines);
    PrintLogAppends("logsoak.bound", figures->atBound);
    PrintLogAppends("logsoak.end", figures->atEnd);
    Print("logsoak.newest_kept", figures->newestKept);
    return true;
}

int Number(char** argv, int index) {
    return std::atoi(argv[index]);
}

}  // namespace

int main(int argc, char** argv) {
    int index = 1;
    bool ok = true;
    while (index < argc) {
        const std::string name = argv[index];
        if (name == "idle" && index + 2 < argc) {
            PrintComparison("idle",
                            MeasureIdleCpu(Number(argv, index + 1), Number(argv, index + 2)));
            index += 3;
        } else if (name == "pass" && index + 2 < argc) {
            PrintComparison("pass",
                            MeasureSchedulerPass(Number(argv, index + 1), Number(argv, index + 2)));
            index += 3;
        } else if (name == "startup" && index + 1 < argc) {
            PrintComparison("startup", MeasureStartUp(Number(argv, index + 1)));
            index += 2;
        } else if (name == "soak" && index + 2 < argc) {
            ok = RunSoak(Number(argv, index + 1), Number(argv, index + 2)) && ok;
            index += 3;
        } else if (name == "logsoak" && index + 2 < argc) {
            ok = RunLogSoak(Number(argv, index + 1), Number(argv, index + 2)) && ok;
            index += 3;
        } else {
            std::fprintf(stderr,
                         "usage: bench.exe [idle SECONDS RUNS] [pass ROWS RUNS] [startup RUNS] "
                         "[soak URL_TICKS PASSES] [logsoak LINES TIMED_APPENDS]\n");
            return 2;
        }
    }
    return ok ? 0 : 1;
}

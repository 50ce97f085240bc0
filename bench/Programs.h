#pragma once

// The programs that the benchmarks start, by their Unix paths in the build tree.
constexpr char kMonitorProgram[] = MONITOR_EXE;
constexpr char kBareTimersProgram[] = BARE_TIMERS_EXE;
constexpr char kBareRegistryReadsProgram[] = BARE_REGISTRY_READS_EXE;
constexpr char kBareWindowProgram[] = BARE_WINDOW_EXE;

constexpr unsigned long kStartWaitMs = 30000;

#pragma once

// The window classes by which the benchmarks find the programs they started.
constexpr char kMonitorFrameClass[] = "VantrelMonitorFrame";
constexpr char kBareTimersClass[] = "VantrelBenchBareTimers";
constexpr char kBareRegistryReadsClass[] = "VantrelBenchBareRegistryReads";
constexpr char kBareWindowClass[] = "VantrelBenchBareWindow";

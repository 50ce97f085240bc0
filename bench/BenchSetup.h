#pragma once

#include <string>

// The registry and clipboard as the measured monitor finds them: the install path at the
// stand-ins, the URL monitor's preference on, and plain text on the clipboard.
void PrepareMonitorSettings();
// A queue file for the seeded rows; the purge keeps only rows whose file exists.
std::string BenchQueueFile();

#pragma once

#include <optional>
#include <string>

#include "core/Clock.h"
#include "core/FileSystem.h"
#include "core/SettingsStore.h"

constexpr char kQueueMustRunText[] = "Must Run";
constexpr char kQueueMustNotRunText[] = "Must NOT run";

// The check line written after the URL-monitor toggle: whether row 1 of the scheduled-queue
// table is due now. Nothing when row 1 does not read; no other row is looked at.
std::optional<std::string> QueueCheckLine(SettingsStore& settings, FileSystem& files,
                                          const Clock& clock);

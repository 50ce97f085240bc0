#pragma once

// What every black-box test shares: a clean registry and stand-in folder, a monitor to start,
// and the exact lines and command lines other programs and users rely on.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/RegistryLayout.h"
#include "e2e/MonitorHarness.h"
#include "res/resource.h"

constexpr UINT_PTR kUrlMonitorTimer = 1;
constexpr UINT_PTR kSchedulerTimer = 2;
constexpr Time32 kHour = 3600;
// The text line of a message box, in Windows and in Wine alike.
constexpr int kMessageBoxTextId = 0xFFFF;
const std::string kStartingLine = "URL Monitor: Starting Vantrel.";

inline std::string QueueArgument(const std::string& queueFile) {
    return "\"ftq://" + queueFile + "\"";
}

// The start lines, then each queue's run lines, then the other lines.
inline std::vector<std::string> Lines(const std::vector<std::string>& runs,
                                      const std::vector<std::string>& others = {}) {
    std::vector<std::string> lines = {"Vantrel Monitor started.", ""};
    for (const std::string& queueFile : runs) {
        lines.insert(lines.end(), {"Transfert Scheduler - Transferring Queue:", queueFile,
                                   "No more scheduled transfert for this queue."});
    }
    lines.insert(lines.end(), others.begin(), others.end());
    return lines;
}

class E2eTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A client still running from an earlier test would turn every pass away.
        ASSERT_TRUE(standIns.WaitUntilClientEnds(20000));
        standIns.Reset();
        ResetRegistry(standIns.Folder());
        SetUrlMonitorPreference(1);
        // Text there at start-up counts as seen: it differs from every text a test copies.
        ASSERT_TRUE(CopyToClipboard("text already there at start-up"));
    }

    StandIns standIns;
    MonitorProcess monitor;
    const Time32 now = Now();
    const ScheduleRecord dueOnce = RecordOf({{RecordField::StartTime, now - kHour},
                                             {RecordField::AnchorTime, now - kHour},
                                             {RecordField::OnceFlag, 1}});
    const ScheduleRecord neverDue =
        RecordOf({{RecordField::StartTime, now + 400 * 86400}, {RecordField::OnceFlag, 1}});
};

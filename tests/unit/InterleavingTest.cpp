// Every modal dialog and message box runs a message loop of its own, and so can the shell's start
// of a program (a security prompt): ticks, commands, the close box and the companions' own writes
// arrive while it is open. Each modal point below lets one such event arrive while it is "open",
// then gives its answer.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "core/ModalState.h"
#include "core/RegistryLayout.h"
#include "recovery/CInterruptedTransferStore.h"
#include "recovery/ResumeFlow.h"
#include "scheduler/CQueueScheduleStore.h"
#include "scheduler/CTransferScheduler.h"
#include "scheduler/QueueCheck.h"
#include "scheduler/QueueSchedules.h"
#include "shared/Fakes.h"
#include "shared/MemorySettingsStore.h"
#include "urlmonitor/CUrlMonitor.h"

namespace {

enum Point { kQuestion, kResumeLater, kResumeStart, kEditorOk, kEditorClear, kRemove, kClose };
const char* const kPointNames[] = {"resume question",   "resume later", "resume's start",
                                   "editor OK",         "editor Clear", "Remove",
                                   "close confirmation"};

// "Q<row>" -> queue name and record bytes, "T<row>" -> its stamp: both tables as the rules read
// them.
using Tables = std::map<std::string, std::string>;

const Time32 kNow = 999'999'960;  // a whole minute, as the editor stores times

ScheduleRecord Record(bool once, Time32 start, int32_t count = 30) {
    ScheduleRecord record{};
    for (const RecordField field : {RecordField::StartTime, RecordField::AnchorTime}) {
        WriteField(record, field, start);
    }
    WriteField(record, RecordField::OnceFlag, once ? 1 : 0);
    WriteField(record, RecordField::Count, count);
    return record;
}

// Row 1 runs once and is due, row 2 repeats and is not, row 3 runs once next year; transfers 4
// and 9 are pending.
struct World : ResumeQuestion, ScheduleEditor, ClipboardSource, KeyboardState, UrlParser {
    World(Point point, std::function<void(World&)> event) : point(point), event(std::move(event)) {
        files.files = {"A.ftq", "B.ftq", "C.ftq", "Z.ftq"};
        store.WriteRow(1, Record(true, kNow - 60), "A.ftq");
        store.WriteRow(2, Record(false, kNow - 600), "B.ftq");
        store.WriteRow(3, Record(true, kNow + 365 * 86400), "C.ftq");
        AddTransfer("4");
        AddTransfer("9");
        settings.WriteInt(registry::kPreferencesSection, registry::kUrlMonitorEntry, 1);
        urlMonitor.Attach(log);
        urlMonitor.StartTimer(timers);
        scheduler.StartTimer(timers);
    }

    // Runs the flow in which the point's modal opens.
    void Open() {
        atOpen = Read();
        switch (point) {
            case kQuestion:
            case kResumeLater:
                ResumeInterruptedTransfers(true, *this, modals, settings, launcher, log);
                break;
            case kResumeStart:
                companions.onLaunch = [this] {
                    companions.onLaunch = nullptr;
                    Arrive(kResumeStart);
                };
                ResumeInterruptedTransfers(false, *this, modals, settings, launcher, log);
                break;
            case kEditorOk:
            case kEditorClear:
                schedules.Edit("A.ftq", *this);
                break;
            case kRemove:
                schedules.Remove("A.ftq", [this] { return Arrive(kRemove); });
                break;
            case kClose:
                EXPECT_EQ(RequestClose(modals, [this] { return Arrive(kClose); }),
                          CloseRequest::Close);
                break;
        }
    }
    void AddTransfer(const char* row) {
        settings.WriteInt(std::string(registry::kTransferSection) + "\\" + row, "DBVER", 1);
    }
    bool Arrive(Point at) {
        if (at == point) {
            event(*this);
            afterEvent = Read();
        }
        return true;
    }
    Tables Read() {
        Tables tables;
        for (const int row : store.Enumerate()) {
            std::string name;
            const ScheduleRecord record = store.ReadRow(row, name).value();
            tables["Q" + std::to_string(row)] = name + std::string(record.begin(), record.end());
        }
        for (const ListedTransfer& row : transfers.ListRows()) {
            tables["T" + row.name] = std::to_string(row.stamp.value_or(0));
        }
        return tables;
    }

    ResumeAnswer AskToResume() override {
        Arrive(kQuestion);
        return point == kResumeLater ? ResumeAnswer::No : ResumeAnswer::Yes;
    }
    ResumeAnswer AskResumeLater() override {
        Arrive(kResumeLater);
        return ResumeAnswer::No;
    }
    bool Run(ScheduleEditFields& fields) override {
        Arrive(point);
        fields.count = 5;  // a change that keeps a run-once row due
        fields.clearedFlag = point == kEditorClear;
        return true;
    }
    std::string GetClipboardText() override { return clipboardText; }
    uint32_t SequenceNumber() override { return static_cast<uint32_t>(clipboardText.size()); }
    bool IsCtrlDown() override { return false; }
    ParsedUrl Parse(const std::string& url) override { return {true, url.rfind("ftp:", 0) == 0}; }

    const Point point;
    const std::function<void(World&)> event;
    Tables afterEvent;
    Tables atOpen;
    std::string clipboardText;
    bool closeRefused = true;
    MemorySettingsStore settings;
    FakeFileSystem files;
    FakeCompanions companions;
    FakeTicks ticks;
    ClientLauncher launcher{companions, ticks};
    FakeClock clock{kNow};
    RecordingLog log;
    FakeTimerHost timers;
    ModalState modals;
    CQueueScheduleStore store{settings, files};
    CInterruptedTransferStore transfers{settings};
    CTransferScheduler scheduler{settings, files, launcher, clock};
    CUrlMonitor urlMonitor{settings, *this, *this, *this, launcher};
    QueueSchedules schedules{settings, files, launcher, clock, modals};
};

using Event = std::pair<const char*, std::function<void(World&)>>;
const Event kEvents[] = {
    {"scheduler tick", [](World& w) { w.scheduler.OnTimerTick(); }},
    {"URL tick",
     [](World& w) {
         w.clipboardText = "ftp://host/file";
         w.urlMonitor.OnTimerTick();
     }},
    {"Start Vantrel", [](World& w) { w.launcher.RunClient(); }},
    {"URL Monitor switches",
     [](World& w) {
         w.urlMonitor.SetEnabled(false);
         w.urlMonitor.SetEnabled(true);
         QueueCheckLine(w.settings, w.files, w.clock);
     }},
    {"Resume Interrupted Transfers",
     [](World& w) {
         ResumeInterruptedTransfers(false, w, w.modals, w.settings, w.launcher, w.log);
     }},
    {"close",
     [](World& w) {
         w.closeRefused &=
             RequestClose(w.modals, [] { return true; }) == CloseRequest::BringModalToFront;
     }},
    {"client moves row 1 on", [](World& w) { w.store.WriteRow(1, Record(false, kNow), "A.ftq"); }},
    {"client deletes row 1", [](World& w) { w.store.DeleteRow(1); }},
    {"client reuses row 1",
     [](World& w) {
         w.store.DeleteRow(1);
         w.store.WriteRow(1, Record(true, kNow - 60), "Z.ftq");
     }},
    {"client announces itself",
     [](World& w) { w.companions.presentEvents.insert(companions::kClientEvent); }},
    {"downloader adds row 7", [](World& w) { w.AddTransfer("7"); }},
    {"downloader records row 9 again", [](World& w) { w.AddTransfer("9"); }},
    {"downloader deletes row 9",
     [](World& w) { w.settings.DeleteSubkey(registry::kTransferTable, "9"); }},
};

bool Unchanged(const Tables& now, const Tables& then, const std::string& row) {
    const auto was = then.find(row);
    return now.count(row) != 0 && was != then.end() && now.at(row) == was->second;
}

// The tables as the event left them, changed only by the answer, and only where the row still
// holds what the user was shown.
Tables Expected(const World& w) {
    Tables tables = w.afterEvent;
    const auto rowOne = tables.find("Q1");
    const bool shown = Unchanged(tables, w.atOpen, "Q1");
    const bool sameQueue = rowOne != tables.end() && rowOne->second.rfind("A.ftq", 0) == 0;
    if (w.point == kResumeLater) {
        for (const char* row : {"T4", "T9"}) {
            if (Unchanged(tables, w.atOpen, row)) {
                tables.erase(row);
            }
        }
    } else if (w.point == kEditorOk && shown) {
        rowOne->second[std::string("A.ftq").size() + static_cast<size_t>(RecordField::Count)] = 5;
    } else if ((w.point == kEditorClear && shown) || (w.point == kRemove && sameQueue)) {
        tables.erase(rowOne);
    }
    return tables;
}

}  // namespace

// Mended: a tick under the editor ran a run-once row that OK then wrote back to run again; OK
// wrote an anchor back that the client had moved on, or over another queue that took the row's
// number; a resume command under the question or under the resume's own start started every
// transfer twice; a close stacked a second question, or ended the program under an open one or
// in the middle of a resume; "No" to resuming later deleted a row recorded again meanwhile.
TEST(Interleavings, NothingIsLostStartedTwiceOrOverwrittenWhateverArrivesWhileAModalIsOpen) {
    for (int point = kQuestion; point <= kClose; ++point) {
        for (const auto& [what, event] : kEvents) {
            const std::string where = std::string(kPointNames[point]) + " / " + what;
            World w(static_cast<Point>(point), event);
            w.Open();
            ASSERT_FALSE(w.afterEvent.empty()) << where;
            EXPECT_EQ(w.Read(), Expected(w)) << where;
            // A row written back due would start its queue again once the client has gone.
            w.companions.alive.clear();
            w.scheduler.OnTimerTick();
            for (const Launch& launch : w.companions.launches) {
                EXPECT_EQ(
                    std::count(w.companions.launches.begin(), w.companions.launches.end(), launch),
                    1)
                    << where << " " << launch.argument.value_or("");
            }
            EXPECT_TRUE(w.closeRefused) << where;
        }
    }
}

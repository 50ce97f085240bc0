#include "recovery/ResumeFlow.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/RegistryLayout.h"
#include "shared/Fakes.h"
#include "shared/MemorySettingsStore.h"

namespace {

struct FakeQuestion : ResumeQuestion {
    FakeQuestion(ResumeAnswer answer, ResumeAnswer later) : answer(answer), later(later) {}
    ResumeAnswer AskToResume() override { return answer; }
    ResumeAnswer AskResumeLater() override { return later; }
    ResumeAnswer answer, later;
};

}  // namespace

// Mended: anything but a "Yes" to resuming later, a box that failed or met the quit message too,
// gave the rows up; "7" and "07" started the downloader twice on the same transfer.
TEST(ResumeFlow, OnlyANoThenNoGivesTheRowsUpAndOnlyAYesOrNotAskingResumesThem) {
    const std::vector<Launch> nineThenFour{{"Rushload.exe", "fdb://9"},
                                           {"Rushload.exe", "fdb://4"}};
    const std::vector<LoggedLine> line{{"Resuming interrupted transfers.", kNavy}};
    constexpr ResumeAnswer kYes = ResumeAnswer::Yes, kNo = ResumeAnswer::No;
    constexpr ResumeAnswer kOther = ResumeAnswer::Other;
    using Case = std::tuple<const char*, bool, ResumeAnswer, ResumeAnswer, std::vector<const char*>,
                            std::vector<Launch>, std::vector<LoggedLine>, bool>;
    const Case cases[] = {
        {"yes", true, kYes, kNo, {"4", "9"}, nineThenFour, line, true},
        {"not asked", false, kNo, kNo, {"4", "9"}, nineThenFour, line, true},
        {"no, then later", true, kNo, kYes, {"4", "9"}, {}, {}, true},
        {"no, then no", true, kNo, kNo, {"4", "9"}, {}, {}, false},
        {"no, then no answer", true, kNo, kOther, {"4", "9"}, {}, {}, true},
        {"not shown", true, kOther, kNo, {"4", "9"}, {}, {}, true},
        {"rows 0 and -2", true, kYes, kNo, {"0", "-2"}, {}, line, true},
        {"rows 7 and 07", false, kYes, kNo, {"7", "07"}, {{"Rushload.exe", "fdb://7"}}, line, true},
        {"no rows", false, kYes, kNo, {}, {}, {}, true},
    };
    for (const auto& [what, ask, answer, later, rows, launches, lines, rowsKept] : cases) {
        MemorySettingsStore settings;
        for (const char* row : rows) {
            settings.WriteInt(std::string(registry::kTransferSection) + "\\" + row, "DBVER", 1);
        }
        FakeCompanions companions;
        companions.presentEvents.insert(companions::kDownloaderEvent);  // not the flow's concern
        FakeTicks ticks;
        ClientLauncher launcher(companions, ticks);
        RecordingLog log;
        FakeQuestion question(answer, later);
        ModalState modals;
        ResumeInterruptedTransfers(ask, question, modals, settings, launcher, log);
        EXPECT_EQ(log.lines, lines) << what;
        EXPECT_EQ(companions.launches, launches) << what;
        EXPECT_EQ(settings.ListSubkeys(registry::kTransferTable, KeyAccess::Read).size(),
                  rowsKept ? rows.size() : 0u)
            << what;
    }
}

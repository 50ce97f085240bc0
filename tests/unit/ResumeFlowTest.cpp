#include "recovery/ResumeFlow.h"

#include <gtest/gtest.h>

#include <tuple>

#include "shared/MemorySettingsStore.h"
#include "core/RegistryLayout.h"
#include "shared/Fakes.h"

namespace {

struct FakeQuestion : ResumeQuestion {
    FakeQuestion(ResumeAnswer answer, bool later) : answer(answer), later(later) {}
    ResumeAnswer AskToResume() override { return answer; }
    bool AskResumeLater() override { return later; }
    ResumeAnswer answer;
    bool later;
};

}  // namespace

TEST(ResumeFlow, OnlyANoThenNoGivesTheRowsUpAndOnlyAYesOrNotAskingResumesThem) {
    const std::vector<Launch> nineThenFour{{"Rushload.exe", "fdb://9"},
                                           {"Rushload.exe", "fdb://4"}};
    const std::vector<LoggedLine> line{{"Resuming interrupted transfers.", kNavy}};
    using Case = std::tuple<const char*, bool, ResumeAnswer, bool, std::vector<const char*>,
                            std::vector<Launch>, std::vector<LoggedLine>, bool>;
    const Case cases[] = {
        {"yes", true, ResumeAnswer::Yes, false, {"4", "9"}, nineThenFour, line, true},
        {"not asked", false, ResumeAnswer::No, false, {"4", "9"}, nineThenFour, line, true},
        {"no, then later", true, ResumeAnswer::No, true, {"4", "9"}, {}, {}, true},
        {"no, then no", true, ResumeAnswer::No, false, {"4", "9"}, {}, {}, false},
        {"not shown", true, ResumeAnswer::Other, false, {"4", "9"}, {}, {}, true},
        {"rows 0 and -2", true, ResumeAnswer::Yes, false, {"0", "-2"}, {}, line, true},
        {"no rows", false, ResumeAnswer::Yes, false, {}, {}, {}, true},
    };
    for (const auto& [what, ask, answer, later, rows, launches, lines, rowsKept] : cases) {
        MemorySettingsStore settings;
        for (const char* row : rows) {
            settings.WriteInt(std::string(registry::kTransferSection) + "\\" + row, "DBVER", 1);
        }
        FakeCompanions companions;
        companions.presentEvents.insert(companions::kDownloaderEvent);  // not the flow's concern
        ClientLauncher launcher(companions);
        RecordingLog log;
        FakeQuestion question(answer, later);
        ResumeInterruptedTransfers(ask, question, settings, launcher, log);
        EXPECT_EQ(log.lines, lines) << what;
        EXPECT_EQ(companions.launches, launches) << what;
        EXPECT_EQ(settings.ListSubkeys(registry::kTransferTable, KeyAccess::Read).size(),
                  rowsKept ? rows.size() : 0u)
            << what;
    }
}

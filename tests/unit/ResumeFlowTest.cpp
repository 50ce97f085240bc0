#include "recovery/ResumeFlow.h"

#include <gtest/gtest.h>

#include "core/MemorySettingsStore.h"
#include "core/RegistryLayout.h"
#include "recovery/CInterruptedTransferStore.h"
#include "recovery/Countdown.h"
#include "shared/Fakes.h"

namespace {

class FakeQuestion : public ResumeQuestion {
public:
    explicit FakeQuestion(ResumeAnswer answer, bool resumeLater = true)
        : answer(answer), resumeLater(resumeLater) {}
    ResumeAnswer AskToResume() override {
        ++questions;
        return answer;
    }
    bool AskResumeLater() override {
        ++followUps;
        return resumeLater;
    }
    ResumeAnswer answer;
    bool resumeLater;
    int questions = 0;
    int followUps = 0;
};

// Nobody answers: the question's own countdown decides, on a tick count about to wrap.
class UnansweredQuestion : public FakeQuestion {
public:
    UnansweredQuestion() : FakeQuestion(ResumeAnswer::Other) {}
    ResumeAnswer AskToResume() override {
        ++questions;
        const uint32_t start = 0xFFFFF000u;
        Countdown countdown(resume::kQuestionTimeoutMs, start);
        for (uint32_t elapsed = 100; elapsed <= 60000; elapsed += 100) {
            if (countdown.OnTick(start + elapsed).timeUp) {
                secondsWaited = elapsed / 1000;
                return resume::kQuestionDefaultButton == kFirstButton ? ResumeAnswer::Yes
                                                                      : ResumeAnswer::No;
            }
        }
        return ResumeAnswer::Other;
    }
    uint32_t secondsWaited = 0;
};

constexpr const char kDownloader[] = "C:\\Vantrel\\Rushload.exe";

struct Harness {
    Harness() : launcher(companions) { launcher.SetInstallFolder("C:\\Vantrel\\"); }

    void AddPendingRows(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            settings.WriteInt(std::string(registry::kTransferSection) + "\\" + name,
                              registry::kVersionEntry, 1);
        }
    }

    void Resume(bool ask, ResumeQuestion& question) {
        ResumeInterruptedTransfers(ask, question, settings, launcher, log);
    }

    std::string Table() const { return settings.Dump(MemorySettingsStore::Hive::User); }

    MemorySettingsStore settings;
    FakeCompanions companions;
    ClientLauncher launcher;
    RecordingLog log;
};

const std::vector<Launch> kNineThenFour = {{kDownloader, "fdb://9"}, {kDownloader, "fdb://4"}};
const LoggedLine kResumingLine = {"Resuming interrupted transfers.", kNavy};

}  // namespace

TEST(ResumeFlow, YesStartsOneDownloaderPerRowLastListedFirstAndKeepsTheRows) {
    Harness h;
    h.AddPendingRows({"4", "9"});
    const std::string before = h.Table();
    FakeQuestion yes(ResumeAnswer::Yes);
    h.Resume(true, yes);
    EXPECT_EQ(h.log.lines, (std::vector<LoggedLine>{kResumingLine}));
    EXPECT_EQ(h.companions.launches, kNineThenFour);
    EXPECT_EQ(yes.followUps, 0);
    EXPECT_EQ(h.Table(), before);
}

TEST(ResumeFlow, UnansweredQuestionResumesAfterTenSeconds) {
    Harness h;
    h.AddPendingRows({"4", "9"});
    UnansweredQuestion nobody;
    h.Resume(true, nobody);
    EXPECT_EQ(nobody.secondsWaited, 9u);  // pressed a little after nine seconds
    EXPECT_EQ(h.log.lines, (std::vector<LoggedLine>{kResumingLine}));
    EXPECT_EQ(h.companions.launches, kNineThenFour);
}

TEST(ResumeFlow, NoThenNoGivesTheRowsUpForGood) {
    Harness h;
    h.AddPendingRows({"4", "9"});
    FakeQuestion no(ResumeAnswer::No, false);
    h.Resume(true, no);
    EXPECT_EQ(no.followUps, 1);
    EXPECT_TRUE(h.log.lines.empty());
    EXPECT_TRUE(h.companions.launches.empty());
    EXPECT_TRUE(h.settings.ListSubkeys(registry::kTransferTable, KeyAccess::Read).empty());
    EXPECT_FALSE(HasPendingTransfers(h.launcher, h.settings));
}

TEST(ResumeFlow, AnswersThatKeepTheRowsForLaterChangeNothing) {
    struct Case {
        const char* name;
        ResumeAnswer answer;
        bool resumeLater;
        int followUps;
    };
    const std::vector<Case> cases = {
        {"no, then resume later", ResumeAnswer::No, true, 1},
        {"question not shown", ResumeAnswer::Other, false, 0},
    };
    for (const Case& c : cases) {
        Harness h;
        h.AddPendingRows({"4", "9"});
        const std::string before = h.Table();
        FakeQuestion question(c.answer, c.resumeLater);
        h.Resume(true, question);
        EXPECT_EQ(question.followUps, c.followUps) << c.name;
        EXPECT_TRUE(h.log.lines.empty()) << c.name;
        EXPECT_TRUE(h.companions.launches.empty()) << c.name;
        EXPECT_EQ(h.Table(), before) << c.name;
        EXPECT_TRUE(HasPendingTransfers(h.launcher, h.settings)) << c.name;
    }
}

TEST(ResumeFlow, OnlyRowZeroWritesTheLineAndStartsNothing) {
    Harness h;
    h.AddPendingRows({"0"});
    ASSERT_TRUE(HasPendingTransfers(h.launcher, h.settings));
    FakeQuestion yes(ResumeAnswer::Yes);
    h.Resume(true, yes);
    EXPECT_EQ(h.log.lines, (std::vector<LoggedLine>{kResumingLine}));
    EXPECT_TRUE(h.companions.launches.empty());
}

TEST(ResumeFlow, WithoutAskingResumesAtOnceEvenWhileTheDownloaderRuns) {
    Harness h;
    h.AddPendingRows({"4", "9"});
    h.companions.presentEvents.insert(companions::kDownloaderEvent);
    FakeQuestion never(ResumeAnswer::No, false);
    h.Resume(false, never);
    EXPECT_EQ(never.questions, 0);
    EXPECT_EQ(h.log.lines, (std::vector<LoggedLine>{kResumingLine}));
    EXPECT_EQ(h.companions.launches, kNineThenFour);
}

TEST(ResumeFlow, EmptyTableWritesNothing) {
    Harness h;
    FakeQuestion yes(ResumeAnswer::Yes);
    h.Resume(false, yes);
    h.Resume(true, yes);
    EXPECT_TRUE(h.log.lines.empty());
    EXPECT_TRUE(h.companions.launches.empty());
}

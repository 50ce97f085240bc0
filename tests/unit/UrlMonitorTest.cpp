#include "urlmonitor/CUrlMonitor.h"

#include <gtest/gtest.h>

#include <tuple>

#include "AllocationFailure.h"
#include "core/RegistryLayout.h"
#include "shared/Fakes.h"
#include "shared/MemorySettingsStore.h"
#include "urlmonitor/UrlCandidate.h"

namespace {

enum While { kIdle, kCtrlDown, kClientRuns, kClientComingUp, kMonitorOff, kPreferenceMissing };

// The clipboard, the Ctrl key, and a parser that knows the ftp and http schemes.
struct Monitor : ClipboardSource, KeyboardState, UrlParser {
    explicit Monitor(const std::string& textAtStartUp = "") : text(textAtStartUp) {
        monitor.Attach(log);
    }
    std::string GetClipboardText() override {
        ++reads;
        return text;
    }
    uint32_t SequenceNumber() override { return sequence; }
    bool IsCtrlDown() override { return state == kCtrlDown; }
    ParsedUrl Parse(const std::string& url) override {
        const bool ftp = url.rfind("ftp://", 0) == 0 || url.rfind("FTP://", 0) == 0;
        return {ftp || url.rfind("http://", 0) == 0, ftp};
    }
    void Copy(const std::string& copied, While during = kIdle) {
        ++sequence;  // every copy changes the clipboard, the same text too
        text = copied;
        state = during;
        companions.presentEvents = {state == kClientRuns ? companions::kClientEvent : ""};
        if (state != kClientComingUp) {
            companions.alive.clear();  // the client started for the last copy has ended
        }
        monitor.SetEnabled(state != kMonitorOff);
        settings.WriteInt(registry::kPreferencesSection, registry::kUrlMonitorEntry, 1);
        if (state == kPreferenceMissing) {
            settings.DeleteTree(MemorySettingsStore::Hive::User, registry::kUserRoot);
        }
        monitor.OnTimerTick();
    }

    std::string text;
    uint32_t sequence = 0;
    int reads = 0;
    While state = kIdle;
    MemorySettingsStore settings;
    FakeCompanions companions;
    FakeTicks ticks;
    ClientLauncher launcher{companions, ticks};
    RecordingLog log;
    CUrlMonitor monitor{settings, *this, *this, *this, launcher};
};

}  // namespace

TEST(UrlMonitor, EnabledMonitorLogsACopiedFtpUrlAndStartsTheClientWithoutArgumentOnce) {
    Monitor m;
    m.Copy(" ftp://h/a.zip  \r\nsecond line\r\n");
    EXPECT_EQ(m.log.lines, (std::vector<LoggedLine>{{"URL Monitor Enabled.", kNavy},
                                                    {"URL Monitor: Starting Vantrel.", kGreen},
                                                    {"URL: ftp://h/a.zip", kBlack}}));
    EXPECT_EQ(m.companions.launches, (std::vector<Launch>{{"Vantrel.exe", std::nullopt}}));
    m.reads = 0;
    m.monitor.OnTimerTick();
    EXPECT_EQ(m.reads, 0);  // an unchanged clipboard is not read again
    // Mended: a text that could not be stored counted as seen all the same, and was never read
    // again.
    m.text = "ftp://h/" + std::string(1 << 20, 'b');
    ++m.sequence;
    m.companions.alive.clear();
    {
        AllocationFailure storing(m.text.size(), 2);  // after the copy the clipboard read makes
        EXPECT_THROW(m.monitor.OnTimerTick(), std::bad_alloc);
    }
    m.monitor.OnTimerTick();
    EXPECT_EQ(m.companions.launches.size(), 2u);
}

TEST(UrlMonitor, EachDistinctTextIsActedOnAtMostOnceAndNeverWhileCtrlIsDown) {
    const std::string a = "ftp://h/a.zip", b = "ftp://u:p@h:2121/b.zip";
    using Copies = std::vector<std::pair<std::string, While>>;
    const std::tuple<const char*, std::string, Copies, size_t> cases[] = {
        {"same text again", "", {{a, kIdle}, {a, kIdle}}, 1},
        {"letter case differs", "", {{a, kIdle}, {"FTP://h/a.zip", kIdle}}, 2},
        {"no text in between", "", {{a, kIdle}, {"", kIdle}, {a, kIdle}}, 1},
        {"back to an earlier text", "", {{a, kIdle}, {b, kIdle}, {a, kIdle}}, 3},
        {"text there at start-up", a, {{a, kIdle}}, 0},
        {"Ctrl held, then released", "", {{a, kCtrlDown}, {a, kIdle}}, 0},
        {"client running, then gone", "", {{a, kClientRuns}, {a, kIdle}}, 0},
        {"client started, not announced yet", "", {{a, kIdle}, {b, kClientComingUp}}, 1},
        {"copied while off", "", {{a, kIdle}, {b, kMonitorOff}, {a, kIdle}}, 1},
        {"copied without preference", "", {{b, kPreferenceMissing}, {b, kIdle}}, 1},
        {"web url, then ftp", "", {{"http://h/", kIdle}, {a, kIdle}}, 1},
    };
    for (const auto& [what, atStartUp, copies, starts] : cases) {
        Monitor m(atStartUp);
        for (const auto& [text, state] : copies) {
            m.Copy(text, state);
        }
        EXPECT_EQ(m.companions.launches.size(), starts) << what;
    }
}

TEST(UrlCandidate, IsTheFirstWordOfTheFirstLine) {
    const std::pair<const char*, const char*> cases[] = {
        {" \t\r\n\v\fftp://h/a \t\v\f", "ftp://h/a"},
        {"ftp://h/a\rb", "ftp://h/a"},
        {"ftp://h/a\nb\r\n", "ftp://h/a\nb"},
        {"ftp://h/a \nb\r\n", "ftp://h/a"},
        {"ftp://h/a\tb c", "ftp://h/a\tb"}};
    for (const auto& [text, candidate] : cases) {
        EXPECT_EQ(CutUrlCandidate(text), candidate) << testing::PrintToString(text);
    }
}

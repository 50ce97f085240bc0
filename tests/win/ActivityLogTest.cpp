#include "ui/CActivityLog.h"

#include <gtest/gtest.h>

#include <richedit.h>

#include "shared/Fakes.h"

namespace {

// The colour of every character of the line, its break included; 0xFFFFFFFF when they differ.
Colour LineColour(const CActivityLog& log, int line) {
    log.Send(EM_SETSEL, log.Send(EM_LINEINDEX, line), log.Send(EM_LINEINDEX, line + 1));
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    log.Send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    const bool uniform = (format.dwMask & CFM_COLOR) && !(format.dwEffects & CFE_AUTOCOLOR);
    return uniform ? format.crTextColor : 0xFFFFFFFF;
}

class ActivityLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        _putenv("TZ=UTC");
        _tzset();
        ASSERT_TRUE(log.Create(parent, RECT{0, 0, 400, 200}));
    }
    void TearDown() override { DestroyWindow(parent); }

    const HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 400, 200, nullptr,
                                        nullptr, nullptr, nullptr);
    FakeClock clock{997866000};  // 08/15/01 09:00:00 UTC
    CActivityLog log{clock};
};

}  // namespace

// Mended: a line wider than the view, written while the window was in the tray, left the view
// scrolled sideways once it opened: every line showed without its start.
TEST_F(ActivityLogTest, LinesCarryTheStampAndTwoSpacesAndShowFromTheirStart) {
    log.Fill(0, 0);
    for (const char* message : {"ok", "", "fail"}) {
        EXPECT_EQ(log.Append(message, kNavy), 1);
    }
    log.Append(std::string(300, 'w'), kRed);
    log.Fill(400, 200);
    EXPECT_EQ(GetScrollPos(log, SB_HORZ), 0);
    const std::string lines =
        "[ 08/15/01 09:00:00 ]  ok\r\n[ 08/15/01 09:00:00 ]  \r\n[ 08/15/01 09:00:00 ]  fail\r\n";
    EXPECT_EQ(log.GetText().substr(0, lines.size()), lines);
}

// Mended: the log grew until its limit refused lines, holding some 13 KB a line under Wine. Each
// line keeps its own colour; the view follows the newest line or stays on the one being read.
TEST_F(ActivityLogTest, AFullLogDropsItsOldestLinesAndKeepsColoursAndTheReadersLine) {
    EXPECT_GE(log.Send(EM_GETLIMITTEXT), 10'000'000);  // not the default 32,767; Wine ignores it
    const Colour colours[] = {kGreen, kNavy, kMaroon};
    // Lines scrolled up and the view's height: following, in the tray, reading, reading lines gone.
    const std::pair<int, int> cases[] = {{0, 200}, {0, 0}, {4, 200}, {40, 200}};
    for (const auto& [scrolledUp, height] : cases) {
        CActivityLog small{clock, 40, 10};
        ASSERT_TRUE(small.Create(parent, RECT{0, 0, 400, 200}));
        std::string expected;
        LRESULT reading = 0;
        for (int n = 0; n < 45; ++n) {  // the 41st line drops the oldest 10
            small.Send(EM_LINESCROLL, 0, n == 35 ? -scrolledUp : 0);
            reading = n == 35 ? small.Send(EM_GETFIRSTVISIBLELINE) : reading;
            small.Fill(400, n < 35 ? 200 : height);
            small.Append(std::to_string(n), colours[n % 3]);
            expected += n < 10 ? "" : "[ 08/15/01 09:00:00 ]  " + std::to_string(n) + "\r\n";
        }
        small.Fill(400, 200);
        // 35 lines then and now: following the end, the view shows the same rows, the newest.
        EXPECT_EQ(small.Send(EM_GETFIRSTVISIBLELINE),
                  scrolledUp ? std::max<LRESULT>(0, reading - 10) : reading);
        EXPECT_EQ(small.GetText(), expected) << scrolledUp;
        for (int line = 0; line < 35; ++line) {
            EXPECT_EQ(LineColour(small, line), colours[(line + 10) % 3]) << scrolledUp << line;
        }
    }
}

#include "ui/CActivityLog.h"

#include <gtest/gtest.h>

#include <richedit.h>

#include "shared/Fakes.h"

namespace {

// The colour of every character of the line, its break included; 0xFFFFFFFF when they differ.
Colour LineColour(const CActivityLog& log, int line) {
    log.Send(EM_SETSEL, static_cast<WPARAM>(log.Send(EM_LINEINDEX, static_cast<WPARAM>(line))),
             log.Send(EM_LINEINDEX, static_cast<WPARAM>(line + 1)));
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

TEST_F(ActivityLogTest, LinesCarryTheStampTwoSpacesAndTheirOwnColour) {
    const std::pair<const char*, Colour> lines[] = {{"ok", kGreen}, {"", kNavy}, {"fail", kMaroon}};
    std::string expected;
    for (const auto& [message, colour] : lines) {
        EXPECT_EQ(log.Append(message, colour), 1);
        expected += std::string("[ 08/15/01 09:00:00 ]  ") + message + "\r\n";
    }
    EXPECT_EQ(log.GetText(), expected);
    for (int line = 0; line < 3; ++line) {
        EXPECT_EQ(LineColour(log, line), lines[line].second) << line;
    }
}

// Mended: the default 32,767-character limit stopped the log in weeks; Wine ignores it, so read it.
TEST_F(ActivityLogTest, TakesYearsOfLinesRatherThanTheControlsDefaultLimit) {
    EXPECT_GE(log.Send(EM_GETLIMITTEXT), 10'000'000);
}

#include "ui/CActivityLog.h"

#include <gtest/gtest.h>

#include <richedit.h>

#include <string>
#include <vector>

#include "shared/Fakes.h"

namespace {

constexpr Time32 kStamp = 997866000;  // 08/15/01 09:00:00 UTC

class ActivityLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        _putenv("TZ=UTC");
        _tzset();
        parent_ = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 400, 200, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        RECT rect{0, 0, 400, 200};
        ASSERT_TRUE(log.Create(parent_, rect));
    }
    void TearDown() override { DestroyWindow(parent_); }

    std::string Text() const {
        GETTEXTLENGTHEX query{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
        const auto length = log.Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        GETTEXTEX get{static_cast<DWORD>(text.size()), GT_DEFAULT, CP_ACP, nullptr, nullptr};
        const auto copied = log.Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                     reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(copied));
        return text;
    }

    // The colour of every character in [first, last), or 0xFFFFFFFF when they differ.
    Colour ColourOf(LONG first, LONG last) const {
        CHARRANGE range{first, last};
        log.Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMATA format{};
        format.cbSize = sizeof format;
        log.Send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        const bool uniform = (format.dwMask & CFM_COLOR) && !(format.dwEffects & CFE_AUTOCOLOR);
        return uniform ? format.crTextColor : 0xFFFFFFFF;
    }

    FakeClock clock{kStamp};
    CActivityLog log{clock};

private:
    HWND parent_ = nullptr;
};

}  // namespace

TEST_F(ActivityLogTest, LinesCarryTheStampTwoSpacesAndTheirOwnColour) {
    EXPECT_NE(log.Append("first", kGreen), 0);
    EXPECT_NE(log.Append("second", kMaroon), 0);
    EXPECT_NE(log.Append("", kNavy), 0);
    const std::string first = "[ 08/15/01 09:00:00 ]  first\r";
    const std::string second = "[ 08/15/01 09:00:00 ]  second\r";
    const std::string empty = "[ 08/15/01 09:00:00 ]  \r";
    EXPECT_EQ(Text(), first + second + empty);

    const LONG secondStart = static_cast<LONG>(first.size());
    const LONG emptyStart = secondStart + static_cast<LONG>(second.size());
    EXPECT_EQ(ColourOf(0, secondStart), kGreen) << "the line break takes the colour too";
    EXPECT_EQ(ColourOf(secondStart, emptyStart), kMaroon) << "no colour leaks into the next line";
    EXPECT_EQ(ColourOf(emptyStart, emptyStart + static_cast<LONG>(empty.size())), kNavy);
}

TEST_F(ActivityLogTest, AppendIsReadOnlyForTheUserAndLeavesTheCaretAtTheEnd) {
    log.Append("Vantrel Monitor started.\r\n", kNavy);
    EXPECT_EQ(Text(), "[ 08/15/01 09:00:00 ]  Vantrel Monitor started.\r\r");
    EXPECT_TRUE(log.Send(EM_GETOPTIONS) & ECO_READONLY);
    CHARRANGE selection{};
    log.Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    EXPECT_EQ(selection.cpMin, selection.cpMax);
    EXPECT_EQ(selection.cpMax, static_cast<LONG>(Text().size()));
}

TEST_F(ActivityLogTest, KeepsWorkingPastTheControlsDefaultLimit) {
    const std::string message(200, 'x');
    for (int line = 0; line < 400; ++line) {  // 90,000 characters
        log.Append(message, kBlack);
    }
    EXPECT_GT(Text().size(), 80000u);
}

TEST_F(ActivityLogTest, AppendWithoutAWindowWritesNothing) {
    DestroyWindow(log);
    EXPECT_EQ(log.Append("late", kNavy), 0);
    CActivityLog never(clock);
    EXPECT_EQ(never.Append("early", kNavy), 0);
}

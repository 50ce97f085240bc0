#include "dialogs/CScheduleTransferDialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "scheduler/CSchedule.h"
#include "shared/Fakes.h"

namespace {

// A change made in a picker: the new value, then the notification the picker sends its parent.
void ChangePicker(Window dialog, int id, SYSTEMTIME value) {
    NMDATETIMECHANGE change{
        {dialog.GetItem(id), static_cast<UINT_PTR>(id), DTN_DATETIMECHANGE}, GDT_VALID, value};
    dialog.SendItem(id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
    dialog.Send(WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&change));
}

// The end date picker's date and the end time picker's clock, with the seconds it keeps unseen.
std::string EndShown(Window dialog) {
    SYSTEMTIME date{}, clock{};
    dialog.SendItem(IDC_END_DATE, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    dialog.SendItem(IDC_END_TIME, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&clock));
    char text[32];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", date.wYear, date.wMonth, date.wDay,
             clock.wHour, clock.wMinute, clock.wSecond);
    return text;
}

// Checked: Once, Every; enabled: Once, count, unit, end date, end time.
std::string StatesOf(Window dialog) {
    std::string states;
    for (const int id : {IDC_TRANSFER_ONCE, IDC_TRANSFER_EVERY}) {
        states += dialog.IsItemChecked(id) ? 'x' : '-';
    }
    for (const int id : {IDC_TRANSFER_ONCE, IDC_COUNT, IDC_UNIT_LIST, IDC_END_DATE, IDC_END_TIME}) {
        states += IsWindowEnabled(dialog.GetItem(id)) ? 'e' : '-';
    }
    return states;
}

constexpr char kOnce[] = "x-e----";
constexpr char kEvery[] = "-xeee--";
constexpr char kEveryUntilEnd[] = "-x-eeee";

struct Flags {
    bool endDate = false, once = false, loaded = true;
};

class ScheduleTransferDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        schedule.startTime = *FromLocalFields(2024, 3, 14, 10, 15, 42);
        schedule.endTime = *FromLocalFields(2024, 3, 20, 18, 30, 5);
    }
    bool Edit(const Flags& flags, std::function<void(Window)> script) {
        schedule.endDateFlag = flags.endDate;
        schedule.onceFlag = flags.once;
        schedule.loadedFlag = flags.loaded;
        original = schedule.ToRecord();
        CScheduleTransferDialog dialog(nullptr);
        return WithScript([&] { return dialog.Handle(); }, std::move(script),
                          [&] { return INT_PTR{schedule.Edit(dialog)}; }) != 0;
    }

    static void SetUpTestSuite() {
        // The template's date-time pickers and up-down control need these window classes.
        INITCOMMONCONTROLSEX controls{sizeof controls,
                                      ICC_DATE_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
    }

    FakeClock clock;
    CSchedule schedule{clock};
    ScheduleRecord original{};
};

}  // namespace

TEST_F(ScheduleTransferDialogTest, OpensWithControlStatesFollowingTheFlags) {
    const std::pair<Flags, const char*> cases[] = {{{false, true, true}, kOnce},
                                                   {{false, false, false}, kEvery},
                                                   {{true, true, true}, kEveryUntilEnd}};
    for (const auto& [flags, states] : cases) {
        Edit(flags, [&](Window dialog) {
            EXPECT_EQ(StatesOf(dialog), states);
            EXPECT_EQ(dialog.IsItemChecked(IDC_END_DATE_CHECK), flags.endDate);
            EXPECT_EQ(IsWindowEnabled(dialog.GetItem(IDC_CLEAR)) != FALSE, flags.loaded);
        });
    }
}

TEST_F(ScheduleTransferDialogTest, EndDateMakesTheScheduleRepeatAndUncheckingKeepsItRepeating) {
    const std::pair<int, const char*> clicks[] = {{IDC_END_DATE_CHECK, kEveryUntilEnd},
                                                  {IDC_END_DATE_CHECK, kEvery},
                                                  {IDC_TRANSFER_ONCE, kOnce},
                                                  {IDC_TRANSFER_EVERY, kEvery}};
    Edit({false, true}, [&](Window dialog) {
        for (const auto& [id, states] : clicks) {
            Click(dialog, id);
            EXPECT_EQ(StatesOf(dialog), states) << id;
        }
    });
}

// Holds whether or not "End Date:" is checked; the schedule runs from 03-14 10:15 to 03-20 18:30.
TEST_F(ScheduleTransferDialogTest, StartMovedPastTheEndPullsTheEndAlongAndAnEqualStartDoesNot) {
    const std::pair<SYSTEMTIME, const char*> starts[] = {
        {{2024, 3, 0, 25, 10, 15, 0, 0}, "2024-03-25 10:15:42"},
        {{2024, 3, 0, 20, 18, 30, 0, 0}, "2024-03-20 18:30:05"}};
    for (const bool endDateFlag : {true, false}) {
        for (const auto& [start, end] : starts) {
            Edit({endDateFlag}, [&](Window dialog) {
                ChangePicker(dialog, IDC_START_DATE, start);
                ChangePicker(dialog, IDC_START_TIME, start);
                EXPECT_EQ(EndShown(dialog), end) << endDateFlag;
            });
        }
    }
}

// Mended: a repeating schedule stored with a count of 0 or without a unit never runs again.
TEST_F(ScheduleTransferDialogTest, OkRefusesACountOrUnitThatCannotBeStoredAndFocusesIt) {
    struct Case {
        const char* count;
        int unit;
        const char* refusal;  // a part of the message
    };
    for (const Case& c : {Case{"", 2, "a positive integer."}, Case{"12a", 2, "a positive integer."},
                          Case{"4294967296", 2, "a positive integer."},
                          Case{"0", 2, "a count from 1 to 2147483647 for \"Transfer every:\"."},
                          Case{"3", -1, "Minutes, Hours, Days, Weeks or Months"}}) {
        EXPECT_TRUE(Edit({}, [&](Window dialog) {
            dialog.SetItemText(IDC_COUNT, c.count);
            dialog.SendItem(IDC_UNIT_LIST, CB_SETCURSEL, static_cast<WPARAM>(c.unit));
            const std::string refusal = ClickAndAnswer(dialog, IDOK, IDOK).text;
            EXPECT_NE(refusal.find(c.refusal), std::string::npos) << c.count << refusal;
            const HWND field = dialog.GetItem(c.unit < 0 ? IDC_UNIT_LIST : IDC_COUNT);
            EXPECT_TRUE(GetFocus() == field || IsChild(field, GetFocus())) << c.count;
            dialog.SetItemText(IDC_COUNT, "3");
            dialog.SendItem(IDC_UNIT_LIST, CB_SETCURSEL, 3);
            Click(dialog, IDOK);
        }));
        EXPECT_EQ(schedule.count, 3);
        EXPECT_EQ(schedule.unit, 3);
    }
}

// Clear asks first; refused, it leaves the dialog open, to be cancelled. Neither way writes an
// edit.
TEST_F(ScheduleTransferDialogTest, CancelAndAConfirmedClearLeaveTheRecordAsItWas) {
    for (const int answer : {IDCANCEL, IDOK}) {
        Edit({}, [&](Window dialog) {
            dialog.SetItemText(IDC_COUNT, "0");
            Click(dialog, IDC_END_DATE_CHECK);
            ChangePicker(dialog, IDC_START_DATE, {2025, 1, 0, 1, 0, 0, 0, 0});
            const MessageBoxContents box = ClickAndAnswer(dialog, IDC_CLEAR, answer);
            EXPECT_EQ(box.caption, "Scheduled Transfers");
            EXPECT_EQ(box.text, "Remove from Scheduled Transfers List?");
            EXPECT_EQ(IsWindowVisible(dialog) != FALSE, answer == IDCANCEL);
        });
        EXPECT_EQ(schedule.IsCleared(), answer == IDOK);
        EXPECT_EQ(schedule.ToRecord(), original);
    }
}

TEST_F(ScheduleTransferDialogTest, OkRewritesEveryFieldWithTheSecondsCleared) {
    EXPECT_TRUE(Edit({}, [](Window dialog) {
        Click(dialog, IDC_DISABLE);
        Click(dialog, IDOK);
    }));
    EXPECT_EQ(schedule.startTime, *FromLocalFields(2024, 3, 14, 10, 15, 0));
    EXPECT_EQ(schedule.endTime, *FromLocalFields(2024, 3, 20, 18, 30, 0));
    EXPECT_EQ(schedule.anchorTime, schedule.startTime);
    EXPECT_EQ(schedule.count, 1);
    EXPECT_TRUE(schedule.disabledFlag && !schedule.onceFlag && !schedule.IsCleared());
}

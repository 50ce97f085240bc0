#include "dialogs/CScheduleTransferDialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <tuple>

#include "DialogDriver.h"
#include "scheduler/CSchedule.h"
#include "shared/Fakes.h"

namespace {

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

class ScheduleTransferDialogTest : public ::testing::Test {
protected:
    bool Edit(bool endDate, std::function<void(Window)> script) {
        schedule.startTime = *FromLocalFields(2024, 3, 14, 10, 15, 42);
        schedule.endTime = *FromLocalFields(2024, 3, 20, 18, 30, 5);
        schedule.endDateFlag = endDate;
        schedule.onceFlag = false;
        schedule.loadedFlag = true;
        original = schedule.ToRecord();
        CScheduleTransferDialog dialog(nullptr);
        return WithScript([&] { return dialog.Handle(); }, std::move(script),
                          [&] { return INT_PTR{schedule.Edit(dialog)}; }) != 0;
    }

    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof controls,
                                      ICC_DATE_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
    }

    FakeClock clock;
    CSchedule schedule{clock};
    ScheduleRecord original{};
};

}  // namespace

// Holds whether or not "End Date:" is checked; the schedule runs from 03-14 10:15 to 03-20 18:30.
TEST_F(ScheduleTransferDialogTest, StartMovedPastTheEndPullsTheEndAlongAndAnEqualStartDoesNot) {
    const std::pair<SYSTEMTIME, const char*> starts[] = {
        {{2024, 3, 0, 25, 10, 15, 0, 0}, "2024-03-25 10:15:42"},
        {{2024, 3, 0, 20, 18, 30, 0, 0}, "2024-03-20 18:30:05"}};
    for (const bool endDateFlag : {true, false}) {
        for (const auto& [start, end] : starts) {
            Edit(endDateFlag, [&](Window dialog) {
                ChangePicker(dialog, IDC_START_DATE, start);
                ChangePicker(dialog, IDC_START_TIME, start);
                EXPECT_EQ(EndShown(dialog), end) << endDateFlag;
            });
        }
    }
}

// Mended: a repeating schedule stored with a count of 0 or without a unit never runs again.
TEST_F(ScheduleTransferDialogTest, OkRefusesACountOrUnitThatCannotBeStoredAndFocusesIt) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"12a", 2, "a positive integer."},
        {"4294967296", 2, "a positive integer."},
        {"0", 2, "a count from 1 to 2147483647 for \"Transfer every:\"."},
        {"3", -1, "Minutes, Hours, Days, Weeks or Months"}};  // a part of the refusal
    for (const auto& [count, unit, part] : cases) {
        EXPECT_TRUE(Edit(false, [&](Window dialog) {
            dialog.SetItemText(IDC_COUNT, count);
            dialog.SendItem(IDC_UNIT_LIST, CB_SETCURSEL, static_cast<WPARAM>(unit));
            const std::string refusal = ClickAndAnswer(dialog, IDOK, IDOK).text;
            EXPECT_NE(refusal.find(part), std::string::npos) << count << refusal;
            const HWND field = dialog.GetItem(unit < 0 ? IDC_UNIT_LIST : IDC_COUNT);
            EXPECT_TRUE(GetFocus() == field || IsChild(field, GetFocus())) << count;
            dialog.SetItemText(IDC_COUNT, "3");
            dialog.SendItem(IDC_UNIT_LIST, CB_SETCURSEL, 3);
            Click(dialog, IDOK);
        }));
        EXPECT_EQ(schedule.count, 3);
        EXPECT_EQ(schedule.unit, 3);
    }
}

// Clear asks first; refused, the dialog stays open to be cancelled. Neither way writes an edit.
TEST_F(ScheduleTransferDialogTest, CancelAndAConfirmedClearLeaveTheRecordAsItWas) {
    for (const int answer : {IDCANCEL, IDOK}) {
        Edit(false, [&](Window dialog) {
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

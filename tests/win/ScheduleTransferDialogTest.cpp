#include "dialogs/CScheduleTransferDialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <tuple>

#include "DialogDriver.h"
#include "scheduler/CSchedule.h"
#include "shared/Fakes.h"
#include "win/InnermostDialog.h"

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

// Checked: Once, Every; enabled: Once, count, unit, end date, end time.
std::string StatesOf(Window dialog) {
    std::string states{dialog.IsItemChecked(IDC_TRANSFER_ONCE) ? 'x' : '-',
                       dialog.IsItemChecked(IDC_TRANSFER_EVERY) ? 'x' : '-'};
    for (const int id : {IDC_TRANSFER_ONCE, IDC_COUNT, IDC_UNIT_LIST, IDC_END_DATE, IDC_END_TIME}) {
        states += IsWindowEnabled(dialog.GetItem(id)) ? 'e' : '-';
    }
    return states;
}

class ScheduleTransferDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        schedule.startTime = LocalTime(2024, 3, 14, 10, 15, 42);
        schedule.endTime = LocalTime(2024, 3, 20, 18, 30, 5);
        schedule.loadedFlag = true;
    }
    bool Edit(bool endDate, bool once, std::function<void(Window)> script) {
        std::tie(schedule.endDateFlag, schedule.onceFlag) = std::tie(endDate, once);
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

// "Transfer once" is offered only with no end date; a start past the end pulls the end along, an
// equal one does not. Mended: pickers took dates no record holds; Clear stayed on a refused count;
// a close brought a picker's calendar forward instead of the editor.
TEST_F(ScheduleTransferDialogTest, ControlsFollowTheRulesAndCancelOrClearWriteNoEdit) {
    const SYSTEMTIME later{2024, 3, 0, 25, 10, 15, 0, 0}, equal{2024, 3, 0, 20, 18, 30, 0, 0};
    const SYSTEMTIME before{1969, 12, 0, 31, 0, 0, 0, 0}, beyond{2038, 1, 0, 20, 0, 0, 0, 0};
    // end date, once; on opening; start picked, end shown; after End Date; never taken; Clear
    const std::tuple<bool, bool, const char*, SYSTEMTIME, const char*, const char*, SYSTEMTIME, int>
        cases[] = {
            {false, true, "x-e----", later, "2024-03-25 10:15:42", "-x-eeee", before, IDCANCEL},
            {false, false, "-xeee--", equal, "2024-03-20 18:30:05", "-x-eeee", beyond, IDCANCEL},
            {true, true, "-x-eeee", later, "2024-03-25 10:15:42", "-xeee--", beyond, IDOK},
            {true, false, "-x-eeee", equal, "2024-03-20 18:30:05", "-xeee--", before, IDOK}};
    for (const auto& [endDate, once, opened, start, end, clicked, outside, answer] : cases) {
        Edit(endDate, once, [&](Window dialog) {
            const HWND calendar = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 9,
                                                  9, dialog, nullptr, nullptr, nullptr);
            EXPECT_EQ(InnermostDialog(GetCurrentThreadId()), dialog.Handle());
            DestroyWindow(calendar);
            EXPECT_EQ(StatesOf(dialog), opened) << endDate << once;
            ChangePicker(dialog, IDC_START_DATE, start);
            ChangePicker(dialog, IDC_START_TIME, start);
            EXPECT_EQ(EndShown(dialog), end) << endDate << once;
            Click(dialog, IDC_END_DATE_CHECK);
            EXPECT_EQ(StatesOf(dialog), clicked) << endDate << once;
            for (const int id : {IDC_START_DATE, IDC_START_TIME, IDC_END_DATE, IDC_END_TIME}) {
                SYSTEMTIME shown = outside;
                ChangePicker(dialog, id, outside);
                dialog.SendItem(id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
                EXPECT_NE(shown.wYear, outside.wYear) << id;
            }
            dialog.SetItemText(IDC_COUNT, "12a");
            const MessageBoxContents box = ClickAndAnswer(dialog, IDC_CLEAR, answer);
            EXPECT_EQ(box.caption + ": " + box.text,
                      "Scheduled Transfers: Remove from Scheduled Transfers List?");
            EXPECT_EQ(IsWindowVisible(dialog) != FALSE, answer == IDCANCEL);
        });
        EXPECT_EQ(schedule.IsCleared(), answer == IDOK);
        EXPECT_EQ(schedule.ToRecord(), original);
    }
}

// Mended: a period that overflows or a first run past 2038 was stored, the up-down control's own
// "1,000" refused, and a time that no picker could show stored as the current time.
TEST_F(ScheduleTransferDialogTest, OkRefusesWhatCannotBeStoredAndStoresWhatIsShown) {
    const Time32 start = LocalTime(2024, 3, 14, 10, 15), end = LocalTime(2024, 3, 20, 18, 30);
    // count, unit, a part of the refusal; stored disabled, anchor, start, end; end picked; its end
    const std::tuple<const char*, int, const char*, bool, Time32, Time32, Time32, bool, Time32>
        cases[] = {{"4294967296", 2, "a positive integer.", true, end, start, end, false, end},
                   {"3551", 3, "first run comes before 01/19/2038.", false, 0, -1, -2, false, -2},
                   {"3", -1, "Months", false, 0, -1, -2, true, LocalTime(2024, 5, 1, 12)}};
    for (const auto& [count, unit, part, disabled, anchor, from, until, pickEnd, written] : cases) {
        std::tie(schedule.disabledFlag, schedule.anchorTime, schedule.startTime, schedule.endTime) =
            std::tie(disabled, anchor, from, until);
        EXPECT_TRUE(Edit(false, false, [&](Window dialog) {
            dialog.SetItemText(IDC_COUNT, count);
            dialog.SendItem(IDC_UNIT_LIST, CB_SETCURSEL, static_cast<WPARAM>(unit));
            const std::string refusal = ClickAndAnswer(dialog, IDOK, IDOK).text;
            EXPECT_NE(refusal.find(part), std::string::npos) << count << refusal;
            const HWND field = dialog.GetItem(unit < 0 ? IDC_UNIT_LIST : IDC_COUNT);
            EXPECT_TRUE(GetFocus() == field || IsChild(field, GetFocus())) << count;
            dialog.SendItem(IDC_COUNT_SPIN, UDM_SETPOS32, 0, 1000);
            EXPECT_NE(dialog.GetItemText(IDC_COUNT), "1000");  // grouped
            dialog.SendItem(IDC_UNIT_LIST, CB_SETCURSEL, 2);
            for (const int id : {IDC_END_DATE, IDC_END_TIME}) {
                pickEnd ? ChangePicker(dialog, id, {2024, 5, 0, 1, 12, 0, 0, 0}) : void();
            }
            Click(dialog, IDC_DISABLE);
            Click(dialog, IDOK);
        }));
        EXPECT_EQ(std::tie(schedule.count, schedule.unit, schedule.disabledFlag,
                           schedule.anchorTime, schedule.startTime, schedule.endTime),
                  std::make_tuple(1000, 2, !disabled, anchor, from, written));
    }
}

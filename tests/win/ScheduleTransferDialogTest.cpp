#include "dialogs/CScheduleTransferDialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "scheduler/CSchedule.h"
#include "shared/Fakes.h"

namespace {

constexpr char kTitle[] = "Schedule Transfer";
constexpr char kNotANumber[] = "Please enter a positive integer.";

Time32 At(int year, int month, int day, int hour, int minute, int second = 0) {
    return *FromLocalFields(year, month, day, hour, minute, second);
}

SYSTEMTIME AsSystemTime(Time32 time) {
    const std::tm fields = *ToLocalFields(time);
    SYSTEMTIME value{};
    value.wYear = static_cast<WORD>(fields.tm_year + 1900);
    value.wMonth = static_cast<WORD>(fields.tm_mon + 1);
    value.wDay = static_cast<WORD>(fields.tm_mday);
    value.wDayOfWeek = static_cast<WORD>(fields.tm_wday);
    value.wHour = static_cast<WORD>(fields.tm_hour);
    value.wMinute = static_cast<WORD>(fields.tm_min);
    value.wSecond = static_cast<WORD>(fields.tm_sec);
    return value;
}

// The date part of a date picker or the hour and minute of a time picker, as the user sees them.
std::string PickerDate(Window dialog, int id) {
    SYSTEMTIME value{};
    dialog.SendItem(id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value));
    char text[16];
    snprintf(text, sizeof text, "%04u-%02u-%02u", value.wYear, value.wMonth, value.wDay);
    return text;
}

std::string PickerClock(Window dialog, int id) {
    SYSTEMTIME value{};
    dialog.SendItem(id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value));
    char text[8];
    snprintf(text, sizeof text, "%02u:%02u", value.wHour, value.wMinute);
    return text;
}

// A change made in a picker: the new value, then the notification the picker sends its parent.
void ChangePicker(Window dialog, int id, Time32 time) {
    NMDATETIMECHANGE change{};
    change.nmhdr.hwndFrom = dialog.GetItem(id);
    change.nmhdr.idFrom = static_cast<UINT_PTR>(id);
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.dwFlags = GDT_VALID;
    change.st = AsSystemTime(time);
    dialog.SendItem(id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&change.st));
    dialog.Send(WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&change));
}

// Puts the pickers back to the fields' values, as a program would: without a notification.
void ResetPickers(Window dialog, const ScheduleEditFields& fields) {
    const std::pair<int, Time32> values[] = {{IDC_START_DATE, fields.startDate},
                                             {IDC_START_TIME, fields.startTime},
                                             {IDC_END_DATE, fields.endDate},
                                             {IDC_END_TIME, fields.endTime}};
    for (const auto& [id, time] : values) {
        SYSTEMTIME value = AsSystemTime(time);
        dialog.SendItem(id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
    }
}

bool Enabled(Window dialog, int id) {
    return IsWindowEnabled(dialog.GetItem(id)) != FALSE;
}

void PickUnit(Window dialog, int index) {
    dialog.SendItem(IDC_UNIT_LIST, CB_SETCURSEL, static_cast<WPARAM>(index));
}

ScheduleEditFields Fields(bool endDateFlag, bool onceFlag, bool loadedFlag = true) {
    ScheduleEditFields fields;
    fields.startDate = fields.startTime = At(2024, 3, 14, 10, 15, 42);
    fields.endDate = fields.endTime = At(2024, 3, 20, 18, 30);
    fields.endDateFlag = endDateFlag;
    fields.onceFlag = onceFlag;
    fields.loadedFlag = loadedFlag;
    fields.count = 2;
    fields.unit = 1;
    return fields;
}

// Runs the dialog on the fields with the script; true when it closed with OK.
bool Edit(ScheduleEditFields& fields, std::function<void(Window)> script) {
    CScheduleTransferDialog dialog(nullptr);
    const UnansweredBoxWatchdog watchdog;
    const DialogScript driver(kTitle, nullptr, std::move(script));
    const bool ok = dialog.Run(fields);
    EXPECT_TRUE(driver.ran);
    return ok;
}

struct ControlStates {
    bool onceChecked, onceEnabled, everyChecked, countEnabled, unitEnabled, endPickersEnabled;
    bool operator==(const ControlStates& other) const {
        return onceChecked == other.onceChecked && onceEnabled == other.onceEnabled &&
               everyChecked == other.everyChecked && countEnabled == other.countEnabled &&
               unitEnabled == other.unitEnabled && endPickersEnabled == other.endPickersEnabled;
    }
};

std::ostream& operator<<(std::ostream& out, const ControlStates& s) {
    return out << "once " << s.onceChecked << s.onceEnabled << " every " << s.everyChecked
               << " count " << s.countEnabled << " unit " << s.unitEnabled << " end "
               << s.endPickersEnabled;
}

ControlStates StatesOf(Window dialog) {
    const bool endDate = Enabled(dialog, IDC_END_DATE);
    EXPECT_EQ(Enabled(dialog, IDC_END_TIME), endDate);
    return {dialog.IsItemChecked(IDC_TRANSFER_ONCE),  Enabled(dialog, IDC_TRANSFER_ONCE),
            dialog.IsItemChecked(IDC_TRANSFER_EVERY), Enabled(dialog, IDC_COUNT),
            Enabled(dialog, IDC_UNIT_LIST),           endDate};
}

constexpr ControlStates kOnce{true, true, false, false, false, false};
constexpr ControlStates kEvery{false, true, true, true, true, false};
constexpr ControlStates kEveryUntilEnd{false, false, true, true, true, true};

}  // namespace

// Clear is offered only for a schedule read from the store.
TEST(ScheduleTransferDialog, OpensWithControlStatesFollowingTheFlags) {
    struct Case {
        bool endDateFlag, onceFlag, loadedFlag;
        ControlStates expected;
    };
    for (const Case& c :
         {Case{false, true, true, kOnce}, Case{false, false, false, kEvery},
          Case{true, true, true, kEveryUntilEnd}, Case{true, false, false, kEveryUntilEnd}}) {
        ScheduleEditFields fields = Fields(c.endDateFlag, c.onceFlag, c.loadedFlag);
        Edit(fields, [&](Window dialog) {
            EXPECT_EQ(StatesOf(dialog), c.expected) << c.endDateFlag << c.onceFlag;
            EXPECT_EQ(dialog.IsItemChecked(IDC_END_DATE_CHECK), c.endDateFlag);
            EXPECT_EQ(Enabled(dialog, IDC_CLEAR), c.loadedFlag);
            Click(dialog, IDCANCEL);
        });
    }
}

TEST(ScheduleTransferDialog, OpensWithTheScheduleInItsControls) {
    ScheduleEditFields fields = Fields(true, false);
    fields.count = 12;
    fields.unit = 4;
    fields.disabledFlag = true;
    Edit(fields, [](Window dialog) {
        EXPECT_EQ(PickerDate(dialog, IDC_START_DATE), "2024-03-14");
        EXPECT_EQ(PickerClock(dialog, IDC_START_TIME), "10:15");
        EXPECT_EQ(PickerDate(dialog, IDC_END_DATE), "2024-03-20");
        EXPECT_EQ(PickerClock(dialog, IDC_END_TIME), "18:30");
        EXPECT_EQ(dialog.GetItemText(IDC_COUNT), "12");
        EXPECT_EQ(dialog.GetItemText(IDC_UNIT_LIST), "Months");
        EXPECT_TRUE(dialog.IsItemChecked(IDC_DISABLE));
        EXPECT_EQ(dialog.SendItem(IDC_COUNT_SPIN, UDM_GETRANGE), MAKELONG(32767, 1));
        Click(dialog, IDCANCEL);
    });
}

TEST(ScheduleTransferDialog, UnitListOffersTheUnitsInOrderWithTheirNumbers) {
    ScheduleEditFields fields = Fields(false, false);
    Edit(fields, [](Window dialog) {
        const char* const labels[] = {"Minutes", "Hours", "Days", "Weeks", "Months"};
        ASSERT_EQ(dialog.SendItem(IDC_UNIT_LIST, CB_GETCOUNT), 5);
        for (int index = 0; index < 5; ++index) {
            char text[16] = {};
            dialog.SendItem(IDC_UNIT_LIST, CB_GETLBTEXT, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(text));
            EXPECT_STREQ(text, labels[index]);
            EXPECT_EQ(dialog.SendItem(IDC_UNIT_LIST, CB_GETITEMDATA, static_cast<WPARAM>(index)),
                      index);
        }
        Click(dialog, IDCANCEL);
    });
}

TEST(ScheduleTransferDialog, UnitOutsideTheTableLeavesNoEntrySelected) {
    ScheduleEditFields fields = Fields(false, false);
    fields.unit = 9;
    Edit(fields, [](Window dialog) {
        EXPECT_EQ(dialog.SendItem(IDC_UNIT_LIST, CB_GETCURSEL), CB_ERR);
        Click(dialog, IDCANCEL);
    });
}

TEST(ScheduleTransferDialog, EndDateMakesTheScheduleRepeatAndUncheckingKeepsItRepeating) {
    ScheduleEditFields fields = Fields(false, true);
    Edit(fields, [](Window dialog) {
        Click(dialog, IDC_END_DATE_CHECK);
        EXPECT_EQ(StatesOf(dialog), kEveryUntilEnd);
        Click(dialog, IDC_END_DATE_CHECK);
        EXPECT_EQ(StatesOf(dialog), kEvery);
        Click(dialog, IDC_TRANSFER_ONCE);
        EXPECT_EQ(StatesOf(dialog), kOnce);
        Click(dialog, IDC_TRANSFER_EVERY);
        EXPECT_EQ(StatesOf(dialog), kEvery);
        Click(dialog, IDCANCEL);
    });
}

// Holds whether or not "End Date:" is checked. The schedule runs from 2024-03-14 10:15 to
// 2024-03-20 18:30.
TEST(ScheduleTransferDialog, StartMovedPastTheEndPullsTheEndAlongAndAnEqualStartDoesNot) {
    struct Change {
        int picker;
        Time32 value;
    };
    struct Case {
        const char* name;
        std::vector<Change> changes;
        const char* endDate;
        const char* endClock;
    };
    const Time32 march20 = At(2024, 3, 20, 0, 0);
    const Case cases[] = {
        {"start date past the end",
         {{IDC_START_DATE, At(2024, 3, 25, 0, 0)}},
         "2024-03-25",
         "10:15"},
        {"start equal to the end",
         {{IDC_START_DATE, march20}, {IDC_START_TIME, At(2000, 1, 1, 18, 30)}},
         "2024-03-20",
         "18:30"},
        {"end moved before the start",
         {{IDC_END_DATE, At(2024, 3, 1, 0, 0)}},
         "2024-03-14",
         "10:15"},
    };
    for (const bool endDateFlag : {true, false}) {
        ScheduleEditFields fields = Fields(endDateFlag, false);
        Edit(fields, [&](Window dialog) {
            for (const Case& c : cases) {
                ResetPickers(dialog, fields);
                for (const Change& change : c.changes) {
                    ChangePicker(dialog, change.picker, change.value);
                }
                EXPECT_EQ(PickerDate(dialog, IDC_END_DATE), c.endDate) << c.name << endDateFlag;
                EXPECT_EQ(PickerClock(dialog, IDC_END_TIME), c.endClock) << c.name << endDateFlag;
            }
            Click(dialog, IDCANCEL);
        });
    }
}

TEST(ScheduleTransferDialog, CountTextThatIsNoNumberIsRefusedAndTheDialogStaysOpen) {
    for (const char* text : {"", "12a", "4294967296"}) {
        ScheduleEditFields fields = Fields(false, false);
        const bool ok = Edit(fields, [&](Window dialog) {
            dialog.SetItemText(IDC_COUNT, text);
            const MessageBoxAnswer answer(dialog, IDOK);
            Click(dialog, IDOK);
            ASSERT_TRUE(answer.answered) << text;
            EXPECT_EQ(answer.box.text, kNotANumber);
            EXPECT_TRUE(IsWindowVisible(dialog));

            const MessageBoxAnswer onPickerChange(dialog, IDOK);
            ChangePicker(dialog, IDC_START_TIME, At(2000, 1, 1, 9, 0));
            EXPECT_TRUE(onPickerChange.answered) << text;

            dialog.SetItemText(IDC_COUNT, "7");
            Click(dialog, IDOK);
        });
        EXPECT_TRUE(ok);
        EXPECT_EQ(fields.count, 7u);
    }
}

// Mended: a repeating schedule stored with a count of 0 or without a unit never runs again.
TEST(ScheduleTransferDialog, OkRefusesARepeatingScheduleWithoutCountOrUnitNamingTheField) {
    struct Case {
        const char* count;
        int unitIndex;
        const char* fieldNamed;
        int focused;
    };
    for (const Case& c :
         {Case{"0", 2, "count", IDC_COUNT}, Case{"3", -1, "Minutes, Hours", IDC_UNIT_LIST}}) {
        ScheduleEditFields fields = Fields(false, false);
        const bool ok = Edit(fields, [&](Window dialog) {
            dialog.SetItemText(IDC_COUNT, c.count);
            PickUnit(dialog, c.unitIndex);
            const MessageBoxAnswer answer(dialog, IDOK);
            Click(dialog, IDOK);
            ASSERT_TRUE(answer.answered) << c.count;
            EXPECT_NE(answer.box.text.find(c.fieldNamed), std::string::npos) << answer.box.text;
            EXPECT_NE(answer.box.text.find("Transfer every:"), std::string::npos);
            EXPECT_TRUE(IsWindowVisible(dialog));
            EXPECT_TRUE(IsChild(dialog.GetItem(c.focused), GetFocus()) ||
                        GetFocus() == dialog.GetItem(c.focused));

            dialog.SetItemText(IDC_COUNT, "3");
            PickUnit(dialog, 3);
            Click(dialog, IDOK);
        });
        EXPECT_TRUE(ok);
        EXPECT_EQ(fields.count, 3u);
        EXPECT_EQ(fields.unit, 3);
    }
}

TEST(ScheduleTransferDialog, OneTimeScheduleIsStoredWhateverItsUnusedCountAndUnit) {
    ScheduleEditFields fields = Fields(false, true);
    const bool ok = Edit(fields, [](Window dialog) {
        dialog.SetItemText(IDC_COUNT, "0");
        PickUnit(dialog, -1);
        Click(dialog, IDOK);
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(fields.count, 0u);
    EXPECT_EQ(fields.unit, -1);
    EXPECT_TRUE(fields.onceFlag);
}

class ScheduleEditThroughTheDialog : public ::testing::Test {
protected:
    void SetUp() override {
        schedule.startTime = At(2024, 3, 14, 10, 15, 42);
        schedule.endTime = At(2024, 3, 20, 18, 30, 5);
        schedule.anchorTime = At(2024, 3, 1, 0, 0);
        schedule.onceFlag = false;
        schedule.endDateFlag = false;
        schedule.count = 2;
        schedule.unit = 1;
        schedule.loadedFlag = true;
        original = schedule.ToRecord();
    }
    bool EditSchedule(std::function<void(Window)> script) {
        CScheduleTransferDialog dialog(nullptr);
        const UnansweredBoxWatchdog watchdog;
        const DialogScript driver(kTitle, nullptr, std::move(script));
        const bool ok = schedule.Edit(dialog);
        EXPECT_TRUE(driver.ran);
        return ok;
    }

    FakeClock clock{At(2024, 3, 10, 12, 0)};
    CSchedule schedule{clock};
    ScheduleRecord original{};
};

TEST_F(ScheduleEditThroughTheDialog, CancelLeavesTheScheduleAsItWas) {
    EXPECT_FALSE(EditSchedule([](Window dialog) {
        dialog.SetItemText(IDC_COUNT, "9");
        Click(dialog, IDC_END_DATE_CHECK);
        ChangePicker(dialog, IDC_START_DATE, At(2025, 1, 1, 0, 0));
        Click(dialog, IDCANCEL);
    }));
    EXPECT_EQ(schedule.ToRecord(), original);
    EXPECT_FALSE(schedule.IsCleared());
}

TEST_F(ScheduleEditThroughTheDialog, OkRewritesEveryFieldWithTheSecondsCleared) {
    EXPECT_TRUE(EditSchedule([](Window dialog) {
        PickUnit(dialog, 3);
        Click(dialog, IDC_DISABLE);
        Click(dialog, IDOK);
    }));
    EXPECT_EQ(schedule.startTime, At(2024, 3, 14, 10, 15));
    EXPECT_EQ(schedule.endTime, At(2024, 3, 20, 18, 30));
    EXPECT_EQ(schedule.anchorTime, At(2024, 3, 14, 10, 15));
    EXPECT_EQ(schedule.unit, 3);
    EXPECT_EQ(schedule.count, 2);
    EXPECT_TRUE(schedule.disabledFlag);
    EXPECT_FALSE(schedule.onceFlag);
    EXPECT_FALSE(schedule.IsCleared());
}

TEST_F(ScheduleEditThroughTheDialog, ConfirmedClearEndsWithOkAndChangesNothingElse) {
    MessageBoxContents question;
    EXPECT_TRUE(EditSchedule([&](Window dialog) {
        dialog.SetItemText(IDC_COUNT, "0");
        PickUnit(dialog, 4);
        const MessageBoxAnswer answer(dialog, IDOK);
        Click(dialog, IDC_CLEAR);
        question = answer.box;
    }));
    EXPECT_EQ(question.caption, "Scheduled Transfers");
    EXPECT_EQ(question.text, "Remove from Scheduled Transfers List?");
    EXPECT_EQ(question.buttons, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_TRUE(schedule.IsCleared());
    EXPECT_EQ(schedule.ToRecord(), original);
}

TEST_F(ScheduleEditThroughTheDialog, ClearAnsweredWithCancelChangesNothing) {
    EXPECT_FALSE(EditSchedule([](Window dialog) {
        {
            const MessageBoxAnswer answer(dialog, IDCANCEL);
            Click(dialog, IDC_CLEAR);
            EXPECT_TRUE(answer.answered);
        }
        EXPECT_TRUE(IsWindowVisible(dialog));
        Click(dialog, IDCANCEL);
    }));
    EXPECT_FALSE(schedule.IsCleared());
    EXPECT_EQ(schedule.ToRecord(), original);
}

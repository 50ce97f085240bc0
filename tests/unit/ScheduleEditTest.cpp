#include <gtest/gtest.h>

#include <functional>

#include "scheduler/CSchedule.h"
#include "shared/Fakes.h"

namespace {

Time32 Utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return FromLocalFields(year, month, day, hour, minute, second).value();
}

// Records what the dialog was shown and answers with what the user did.
class FakeEditor : public ScheduleEditor {
public:
    explicit FakeEditor(std::function<bool(ScheduleEditFields&)> user) : user_(std::move(user)) {}
    bool Run(ScheduleEditFields& fields) override {
        shown = fields;
        return user_(fields);
    }
    ScheduleEditFields shown;

private:
    std::function<bool(ScheduleEditFields&)> user_;
};

CSchedule StoredSchedule(const Clock& clock) {
    CSchedule schedule(clock);
    schedule.startTime = Utc(2001, 5, 7, 10, 15, 42);
    schedule.endTime = Utc(2001, 6, 1, 18, 30);
    schedule.anchorTime = Utc(2001, 5, 20, 10, 15);
    schedule.onceFlag = false;
    schedule.endDateFlag = true;
    schedule.count = 3;
    schedule.unit = 2;
    schedule.loadedFlag = true;
    return schedule;
}

}  // namespace

TEST(ScheduleEdit, ShowsTheScheduleWithEachTimeAsBothDateAndClock) {
    FakeClock clock(Utc(2001, 5, 1));
    CSchedule schedule = StoredSchedule(clock);
    FakeEditor editor([](ScheduleEditFields&) { return false; });
    EXPECT_FALSE(schedule.Edit(editor));
    const ScheduleEditFields& shown = editor.shown;
    EXPECT_EQ(shown.startDate, schedule.startTime);
    EXPECT_EQ(shown.startTime, schedule.startTime);
    EXPECT_EQ(shown.endDate, schedule.endTime);
    EXPECT_EQ(shown.endTime, schedule.endTime);
    EXPECT_FALSE(shown.onceFlag);
    EXPECT_TRUE(shown.endDateFlag);
    EXPECT_EQ(shown.count, 3u);
    EXPECT_EQ(shown.unit, 2);
    EXPECT_TRUE(shown.loadedFlag);
    EXPECT_FALSE(shown.clearedFlag);
}

TEST(ScheduleEdit, CancelAndClearLeaveEveryOtherFieldAsItWas) {
    FakeClock clock(Utc(2001, 5, 1));
    for (bool clear : {false, true}) {
        CSchedule schedule = StoredSchedule(clock);
        const ScheduleRecord before = schedule.ToRecord();
        FakeEditor editor([clear](ScheduleEditFields& fields) {
            fields.count = 99;
            fields.startDate = Utc(2002, 1, 1);
            fields.clearedFlag = true;
            return clear;
        });
        EXPECT_EQ(schedule.Edit(editor), clear);
        EXPECT_EQ(schedule.IsCleared(), clear);
        EXPECT_EQ(schedule.ToRecord(), before);
    }
}

TEST(ScheduleEdit, OkComposesDateAndClockWithSecondsClearedAndCopiesTheSettings) {
    FakeClock clock(Utc(2001, 5, 1));
    CSchedule schedule = StoredSchedule(clock);
    FakeEditor editor([](ScheduleEditFields& fields) {
        fields.startDate = Utc(2001, 5, 9, 23, 59, 59);
        fields.endDate = Utc(2001, 7, 4, 1, 2, 3);
        fields.endTime = Utc(1999, 12, 31, 6, 45, 30);
        fields.onceFlag = true;
        fields.endDateFlag = false;
        fields.disabledFlag = true;
        fields.count = 4294967295u;
        fields.unit = -1;
        return true;
    });
    EXPECT_TRUE(schedule.Edit(editor));
    EXPECT_EQ(schedule.startTime, Utc(2001, 5, 9, 10, 15));
    EXPECT_EQ(schedule.endTime, Utc(2001, 7, 4, 6, 45));
    EXPECT_TRUE(schedule.onceFlag);
    EXPECT_FALSE(schedule.endDateFlag);
    EXPECT_TRUE(schedule.disabledFlag);
    EXPECT_EQ(schedule.count, -1);
    EXPECT_EQ(schedule.unit, -1);
    EXPECT_FALSE(schedule.IsCleared());
}

TEST(ScheduleEdit, AnchorRestartsOnlyWhenTheStartMovesPastIt) {
    const Time32 anchor = Utc(2001, 5, 20, 10, 15);
    const struct {
        bool loaded;
        Time32 newStart, expected;
    } cases[] = {{true, anchor - 60, anchor},
                 {true, anchor, anchor},
                 {true, anchor + 60, anchor + 60},
                 {false, anchor - 60, anchor - 60},
                 {false, anchor + 60, anchor + 60}};
    for (const auto& c : cases) {
        EXPECT_EQ(AdjustAnchor(anchor, c.newStart, c.loaded), c.expected);
    }
    FakeClock clock(Utc(2001, 5, 1));
    CSchedule schedule = StoredSchedule(clock);
    FakeEditor later([](ScheduleEditFields& fields) {
        fields.startDate = Utc(2001, 5, 25);
        return true;
    });
    schedule.Edit(later);
    EXPECT_EQ(schedule.anchorTime, Utc(2001, 5, 25, 10, 15));
}

TEST(ScheduleEdit, ATimeTheRuntimeCannotConvertKeepsTheOldTime) {
    EXPECT_EQ(ComposeLocalTime(-1, Utc(2001, 5, 7)), std::nullopt);
    EXPECT_EQ(ComposeLocalTime(Utc(2001, 5, 7), -1), std::nullopt);
    FakeClock clock(Utc(2001, 5, 1));
    CSchedule schedule = StoredSchedule(clock);
    const Time32 oldStart = schedule.startTime;
    FakeEditor editor([](ScheduleEditFields& fields) {
        fields.startDate = -86400;
        return true;
    });
    EXPECT_TRUE(schedule.Edit(editor));
    EXPECT_EQ(schedule.startTime, oldStart);
}

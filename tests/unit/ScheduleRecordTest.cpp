#include "scheduler/ScheduleRecord.h"

#include <gtest/gtest.h>

#include "scheduler/CSchedule.h"
#include "shared/Fakes.h"

namespace {

// start 0x04030201, end -2, anchor 0x7FFFFFFF, once 1, end-date 0, disabled 1, count 30, Months.
const ScheduleRecord kStored{0x01, 0x02, 0x03, 0x04, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                             0x7F, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00,
                             0x00, 0x00, 0x1E, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00};

}  // namespace

TEST(ScheduleRecord, FieldsAreLittleEndianAtTheirSharedOffsets) {
    FakeClock clock(5);
    CSchedule schedule(clock);
    schedule.FromRecord(kStored);
    EXPECT_EQ(schedule.startTime, 0x04030201);
    EXPECT_EQ(schedule.endTime, -2);
    EXPECT_EQ(schedule.anchorTime, 0x7FFFFFFF);
    EXPECT_TRUE(schedule.onceFlag);
    EXPECT_FALSE(schedule.endDateFlag);
    EXPECT_TRUE(schedule.disabledFlag);
    EXPECT_EQ(schedule.count, 30);
    EXPECT_EQ(schedule.unit, 4);
    EXPECT_EQ(schedule.ToRecord(), kStored);
}

TEST(ScheduleRecord, AnyNonZeroFlagReadsAsSetAndIsWrittenBackAsOne) {
    ScheduleRecord record{};
    WriteField(record, RecordField::OnceFlag, 256);
    WriteField(record, RecordField::EndDateFlag, -1);
    WriteField(record, RecordField::DisabledFlag, 0x01000000);
    FakeClock clock;
    CSchedule schedule(clock);
    schedule.FromRecord(record);
    const ScheduleRecord written = schedule.ToRecord();
    for (RecordField flag :
         {RecordField::OnceFlag, RecordField::EndDateFlag, RecordField::DisabledFlag}) {
        EXPECT_EQ(ReadField(written, flag), 1);
    }
}

TEST(ScheduleRecord, LoadingMarksTheScheduleLoadedAndKeepsTheClearedMark) {
    FakeClock clock;
    CSchedule schedule(clock);
    schedule.clearedFlag = true;
    EXPECT_FALSE(schedule.loadedFlag);
    schedule.FromRecord(ScheduleRecord{});
    EXPECT_TRUE(schedule.loadedFlag);
    EXPECT_TRUE(schedule.IsCleared());
}

// Any stored record, clock reading and time zone: reading, IsDue and GetNextTime end quickly.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>

#include "fuzz/FuzzInput.h"
#include "scheduler/CSchedule.h"
#include "shared/Fakes.h"

namespace {

// Daylight saving in both hemispheres and none, quarter- and half-hour offsets and shifts.
constexpr const char* kZones[] = {"UTC0",
                                  "EST5EDT,M3.2.0,M11.1.0",
                                  "CET-1CEST,M3.5.0,M10.5.0/3",
                                  "NZST-12NZDT,M9.5.0,M4.1.0/3",
                                  "<+0545>-5:45",
                                  "<+1030>-10:30<+11>-11,M10.1.0,M4.1.0"};

// The last start whose month step stays in range: two months and a daylight shift short of it.
constexpr Time32 kLastStepStart = INT32_MAX - 63 * 86400 - 2 * 3600;

// Leap years are every fourth from 1901 to 2099; months alternate 31/30 from January and August.
int DaysInMonth(int monthsSince1900) {
    const int month = monthsSince1900 % 12;
    return month == 1 ? 28 + (monthsSince1900 / 12 % 4 == 0 ? 1 : 0) : 31 - month % 7 % 2;
}

// From a point on day d, the step lands on day d of the first following month that has it.
void CheckMonthStep(Time32 from) {
    const std::optional<std::tm> fields = ToLocalFields(from);
    if (!fields || from > kLastStepStart) {
        return;
    }
    int month = fields->tm_year * 12 + fields->tm_mon + 1;
    while (DaysInMonth(month) < fields->tm_mday) {
        ++month;
    }
    const std::optional<Time32> step = MonthStep(from, fields->tm_mday);
    const std::optional<std::tm> landed = step ? ToLocalFields(*step) : std::nullopt;
    Require(landed && landed->tm_year * 12 + landed->tm_mon == month &&
                landed->tm_mday == fields->tm_mday,
            "the month step missed day d of the first following month that has it");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    ScheduleRecord stored{};
    const std::string bytes = input.Text(stored.size());
    std::copy(bytes.begin(), bytes.end(), stored.begin());
    const FakeClock clock(input.Int32());
    setenv("TZ", kZones[input.Byte() % std::size(kZones)], 1);
    tzset();

    CSchedule schedule(clock);
    schedule.FromRecord(stored);
    ScheduleRecord kept = stored;
    for (RecordField flag :
         {RecordField::OnceFlag, RecordField::EndDateFlag, RecordField::DisabledFlag}) {
        WriteField(kept, flag, ReadField(kept, flag) != 0 ? 1 : 0);
    }
    Require(schedule.ToRecord() == kept, "the record is not written back as read, flags as 0/1");
    Require(!schedule.disabledFlag || !schedule.IsDue(), "a disabled schedule is due");
    CheckMonthStep(schedule.anchorTime);
    std::string next;
    schedule.GetNextTime(next);
    return 0;
}

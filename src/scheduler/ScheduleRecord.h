#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The schedule of one queue as the client stores it: eight little-endian signed 32-bit integers,
// no header, no padding. The layout is shared with the client byte for byte.
constexpr size_t kScheduleRecordSize = 32;
using ScheduleRecord = std::array<uint8_t, kScheduleRecordSize>;

// Byte offset of each field. The flags are stored once, end-date, disabled; written as 0 or 1,
// set whenever non-zero.
enum class RecordField : size_t {
    StartTime = 0,
    EndTime = 4,
    AnchorTime = 8,
    OnceFlag = 12,
    EndDateFlag = 16,
    DisabledFlag = 20,
    Count = 24,
    Unit = 28,
};

int32_t ReadField(const ScheduleRecord& record, RecordField field);
void WriteField(ScheduleRecord& record, RecordField field, int32_t value);

#include "scheduler/ScheduleRecord.h"

int32_t ReadField(const ScheduleRecord& record, RecordField field) {
    const size_t offset = static_cast<size_t>(field);
    uint32_t value = 0;
    for (size_t byte = 4; byte-- > 0;) {
        value = (value << 8) | record[offset + byte];
    }
    return static_cast<int32_t>(value);
}

void WriteField(ScheduleRecord& record, RecordField field, int32_t value) {
    const size_t offset = static_cast<size_t>(field);
    const auto bits = static_cast<uint32_t>(value);
    for (size_t byte = 0; byte < 4; ++byte) {
        record[offset + byte] = static_cast<uint8_t>(bits >> (8 * byte));
    }
}

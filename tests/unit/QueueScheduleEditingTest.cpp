#include "scheduler/QueueScheduleEditing.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/MemorySettingsStore.h"
#include "core/RegistryLayout.h"
#include "scheduler/CSchedule.h"
#include "shared/Fakes.h"

namespace {

using Hive = MemorySettingsStore::Hive;

class ScriptedEditor : public ScheduleEditor {
public:
    explicit ScriptedEditor(std::function<bool(ScheduleEditFields&)> answer)
        : answer_(std::move(answer)) {}
    bool Run(ScheduleEditFields& fields) override {
        ++runs;
        return answer_(fields);
    }
    int runs = 0;

private:
    std::function<bool(ScheduleEditFields&)> answer_;
};

class QueueScheduleEditingTest : public ::testing::Test {
protected:
    // A repeating schedule, every `count` hours from `start`.
    void AddRow(int row, const std::string& queue, Time32 start, int32_t count) {
        CSchedule schedule(clock);
        schedule.startTime = schedule.endTime = schedule.anchorTime = start;
        schedule.onceFlag = false;
        schedule.count = count;
        schedule.unit = static_cast<int32_t>(PeriodUnit::Hours);
        store.WriteRow(row, schedule.ToRecord(), queue);
        files.files.insert(queue);
    }
    std::string RowPath(int row) const {
        return std::string(registry::kQueueTable) + "\\" + std::to_string(row);
    }
    std::optional<ScheduleRecord> Read(int row) {
        std::string name;
        return store.ReadRow(row, name);
    }

    MemorySettingsStore settings;
    FakeFileSystem files;
    FakeClock clock{*FromLocalFields(2024, 6, 1, 12, 0, 0)};
    CQueueScheduleStore store{settings, files};
    const Time32 start = *FromLocalFields(2024, 6, 1, 8, 30, 0);
};

}  // namespace

TEST_F(QueueScheduleEditingTest, ListPurgesVanishedQueuesAndSkipsRowsThatDoNotRead) {
    AddRow(1, "C:\\q\\b.ftq", start, 1);
    AddRow(2, "C:\\q\\gone.ftq", start, 1);
    AddRow(3, "C:\\q\\a.ftq", start, 1);
    AddRow(4, "C:\\q\\b.ftq", start, 2);
    AddRow(5, "C:\\q\\short.ftq", start, 1);
    files.files.erase("C:\\q\\gone.ftq");
    settings.SetRaw(Hive::User, RowPath(5), registry::kDataEntry, registry::kTypeBinary, {1, 2});

    EXPECT_EQ(ListScheduledQueues(store),
              (std::vector<std::string>{"C:\\q\\b.ftq", "C:\\q\\a.ftq", "C:\\q\\b.ftq"}));
    EXPECT_FALSE(settings.KeyExists(Hive::User, RowPath(2)));
    EXPECT_TRUE(settings.KeyExists(Hive::User, RowPath(5)));
}

TEST_F(QueueScheduleEditingTest, RowThatIsGoneOrUnreadableIsNotEdited) {
    AddRow(1, "C:\\q\\a.ftq", start, 1);
    AddRow(2, "C:\\q\\bad.ftq", start, 1);
    settings.SetRaw(Hive::User, RowPath(2), registry::kVersionEntry, registry::kTypeDword,
                    {2, 0, 0, 0});
    for (const char* queue : {"C:\\q\\missing.ftq", "c:\\q\\a.ftq", "C:\\q\\bad.ftq"}) {
        ScriptedEditor editor([](ScheduleEditFields&) { return true; });
        const std::string before = settings.Dump(Hive::User);
        EXPECT_EQ(EditQueueSchedule(store, clock, queue, editor), QueueEditOutcome::RowGone)
            << queue;
        EXPECT_EQ(editor.runs, 0) << queue;
        EXPECT_EQ(settings.Dump(Hive::User), before) << queue;
    }
}

// Duplicate names: the edit acts on the row that the lookup finds first, under its own number.
TEST_F(QueueScheduleEditingTest, OkRewritesTheFirstRowOfThatNameInPlace) {
    AddRow(3, "C:\\q\\a.ftq", start, 1);
    AddRow(7, "C:\\q\\a.ftq", start, 2);
    const std::optional<ScheduleRecord> second = Read(7);
    ScheduleEditFields shown;
    ScriptedEditor editor([&](ScheduleEditFields& fields) {
        shown = fields;
        fields.count = 5;
        fields.startTime = *FromLocalFields(2024, 6, 1, 9, 45, 30);
        return true;
    });
    EXPECT_EQ(EditQueueSchedule(store, clock, "C:\\q\\a.ftq", editor), QueueEditOutcome::Rewritten);

    EXPECT_EQ(shown.count, 1u);
    EXPECT_TRUE(shown.loadedFlag);
    const std::optional<ScheduleRecord> rewritten = Read(3);
    ASSERT_TRUE(rewritten);
    EXPECT_EQ(ReadField(*rewritten, RecordField::Count), 5);
    EXPECT_EQ(ReadField(*rewritten, RecordField::StartTime),
              *FromLocalFields(2024, 6, 1, 9, 45, 0));
    std::string name;
    store.ReadRow(3, name);
    EXPECT_EQ(name, "C:\\q\\a.ftq");
    EXPECT_EQ(Read(7), second);
}

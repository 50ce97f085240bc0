#include "win/ModalAnswer.h"

#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "dialogs/CQueueTransfersDialog.h"
#include "dialogs/CScheduleTransferDialog.h"
#include "dialogs/DialogResumeQuestion.h"
#include "scheduler/CQueueScheduleStore.h"
#include "scheduler/CSchedule.h"
#include "shared/Fakes.h"
#include "shared/MemorySettingsStore.h"

// Mended: a box whose loop met the quit message (the session ends, an installer closes the
// program) gave its answer as if the user had: a Remove, a Clear, or a "No" to resuming later
// that gives up every interrupted transfer, all on the session's way out.
TEST(ModalAnswer, UnderAQuitNoBoxAnswersAndEachTakesItsSafeCourse) {
    MemorySettingsStore settings;
    FakeFileSystem files;
    files.files = {"C:\\q.ftq"};
    CQueueScheduleStore(settings, files).WriteRow(1, ScheduleRecord{}, "C:\\q.ftq");
    FakeCompanions companions;
    FakeTicks ticks;
    ClientLauncher launcher(companions, ticks);
    FakeClock clock;
    ModalState modals;
    QueueSchedules schedules(settings, files, launcher, clock, modals);
    CQueueTransfersDialog list(schedules);
    const auto removeUnderQuit = [&](Window dialog) {
        dialog.SendItem(IDC_QUEUE_LIST, LB_SETCURSEL, 0);
        AnswerUnderQuit(dialog, IDOK, [&] { Click(dialog, IDC_REMOVE_SCHEDULE); });
    };
    EXPECT_EQ(WithScript([&] { return list.Handle(); }, removeUnderQuit,
                         [&] { return list.DoModal(nullptr); }),
              0);
    const auto forget = [] {
        MSG quit{};
        return PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    };
    EXPECT_TRUE(forget());
    EXPECT_EQ(CQueueScheduleStore(settings, files).Enumerate(), std::vector<int>{1});

    CSchedule schedule(clock);
    schedule.loadedFlag = true;
    CScheduleTransferDialog editor(nullptr);
    const auto clearUnderQuit = [&](Window dialog) {
        AnswerUnderQuit(dialog, IDOK, [&] { Click(dialog, IDC_CLEAR); });
    };
    EXPECT_FALSE(WithScript([&] { return editor.Handle(); }, clearUnderQuit,
                            [&] { return INT_PTR{schedule.Edit(editor)}; }));
    EXPECT_TRUE(forget());
    EXPECT_FALSE(schedule.IsCleared());

    DialogResumeQuestion question(nullptr, ticks);
    ResumeAnswer later = ResumeAnswer::No;
    AnswerUnderQuit(nullptr, IDNO, [&] { later = question.AskResumeLater(); });
    EXPECT_TRUE(forget());
    EXPECT_EQ(later, ResumeAnswer::Other);
}

#pragma once

#include <cstdint>

#include "core/ClientLauncher.h"
#include "core/LogSink.h"
#include "core/ModalState.h"
#include "core/ResumeQuestion.h"
#include "core/SettingsStore.h"

namespace resume {
// The title is also the caption of the follow-up box.
constexpr const char kQuestionTitle[] = "Vantrel - Rushload";
constexpr const char kQuestionText[] =
    "Interrupted transfer(s) detected.\nDo you want to resume them?";
constexpr uint32_t kQuestionTimeoutMs = 10000;
constexpr int kQuestionDefaultButton = 1;
constexpr const char kYesCaption[] = "Yes";
constexpr const char kNoCaption[] = "No";
constexpr const char kResumeLaterText[] = "Do you want to resume interrupted transfers later?";
constexpr const char kResumingLine[] = "Resuming interrupted transfers.";
}  // namespace resume

// Hands every interrupted transfer back to the downloader, one start per row, last listed
// first. With `ask`, the user is asked first; a "No" followed by a "No" to resuming later gives
// up the rows that were asked about. Rows are never deleted for having been resumed. Does
// nothing while another resume is under way.
void ResumeInterruptedTransfers(bool ask, ResumeQuestion& question, ModalState& modals,
                                SettingsStore& settings, ClientLauncher& launcher, LogSink& log);

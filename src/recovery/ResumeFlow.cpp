#include "recovery/ResumeFlow.h"

#include <vector>

#include "recovery/CInterruptedTransferStore.h"

namespace {

void ResumeAll(SettingsStore& settings, const ClientLauncher& launcher, LogSink& log) {
    const std::vector<int> rows = CInterruptedTransferStore(settings).Enumerate();
    if (rows.empty()) {
        return;
    }
    log.Append(resume::kResumingLine, kNavy);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        launcher.ResumeEntry(*row);
    }
}

}  // namespace

void ResumeInterruptedTransfers(bool ask, ResumeQuestion& question, SettingsStore& settings,
                                const ClientLauncher& launcher, LogSink& log) {
    if (!ask) {
        ResumeAll(settings, launcher, log);
        return;
    }
    switch (question.AskToResume()) {
        case ResumeAnswer::Yes:
            ResumeAll(settings, launcher, log);
            break;
        case ResumeAnswer::No:
            if (!question.AskResumeLater()) {
                CInterruptedTransferStore(settings).DeleteAll();
            }
            break;
        case ResumeAnswer::Other:
            break;
    }
}

#include "recovery/ResumeFlow.h"

#include <vector>

#include "recovery/CInterruptedTransferStore.h"

namespace {

enum class ResumeDecision { Resume, GiveUp, Keep };

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

// Both questions are one open resume question: no other resume may start while it is open.
ResumeDecision AskWhetherToResume(ResumeQuestion& question, ModalState& modals) {
    ModalState::Scope asking(modals, ModalKind::ResumeQuestion);
    switch (question.AskToResume()) {
        case ResumeAnswer::Yes:
            return ResumeDecision::Resume;
        case ResumeAnswer::No:
            return question.AskResumeLater() == ResumeAnswer::No ? ResumeDecision::GiveUp
                                                                 : ResumeDecision::Keep;
        case ResumeAnswer::Other:
            break;
    }
    return ResumeDecision::Keep;
}

}  // namespace

void ResumeInterruptedTransfers(bool ask, ResumeQuestion& question, ModalState& modals,
                                SettingsStore& settings, const ClientLauncher& launcher,
                                LogSink& log) {
    // A second resume while the question is open would start the downloader twice on each row.
    if (modals.IsOpen(ModalKind::ResumeQuestion)) {
        return;
    }
    if (!ask) {
        ResumeAll(settings, launcher, log);
        return;
    }
    CInterruptedTransferStore store(settings);
    // What is given up are the rows the user was asked about, not one that the downloader
    // added while the question was open.
    const std::vector<std::string> asked = store.ListNames();
    switch (AskWhetherToResume(question, modals)) {
        case ResumeDecision::Resume:
            ResumeAll(settings, launcher, log);
            break;
        case ResumeDecision::GiveUp:
            store.DeleteRows(asked);
            break;
        case ResumeDecision::Keep:
            break;
    }
}

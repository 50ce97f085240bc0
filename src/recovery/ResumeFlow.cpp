#include "recovery/ResumeFlow.h"

#include <vector>

#include "recovery/CInterruptedTransferStore.h"

namespace {

enum class ResumeDecision { Resume, GiveUp, Keep };

void ResumeAll(SettingsStore& settings, ClientLauncher& launcher, LogSink& log) {
    const std::vector<int> rows = CInterruptedTransferStore(settings).Enumerate();
    if (rows.empty()) {
        return;
    }
    log.Append(resume::kResumingLine, kNavy);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        launcher.ResumeEntry(*row);
    }
}

ResumeDecision AskWhetherToResume(ResumeQuestion& question) {
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
                                SettingsStore& settings, ClientLauncher& launcher, LogSink& log) {
    // A second resume inside this one would start the downloader twice on each row, and a close
    // would end the program halfway: the questions and the starts are one open modal.
    if (modals.IsOpen(ModalKind::Resume)) {
        return;
    }
    ModalState::Scope resuming(modals, ModalKind::Resume);
    if (!ask) {
        ResumeAll(settings, launcher, log);
        return;
    }
    CInterruptedTransferStore store(settings);
    // What is given up are the rows the user was asked about, not one that the downloader
    // added or wrote again while the question was open.
    const std::vector<ListedTransfer> asked = store.ListRows();
    switch (AskWhetherToResume(question)) {
        case ResumeDecision::Resume:
            ResumeAll(settings, launcher, log);
            break;
        case ResumeDecision::GiveUp:
            store.GiveUp(asked);
            break;
        case ResumeDecision::Keep:
            break;
    }
}

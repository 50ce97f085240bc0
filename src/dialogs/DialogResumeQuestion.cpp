#include "dialogs/DialogResumeQuestion.h"

#include "dialogs/CCountdownChoiceDialog.h"
#include "recovery/ResumeFlow.h"
#include "win/Dialog.h"
#include "win/ModalAnswer.h"

ResumeAnswer DialogResumeQuestion::AskToResume() {
    CCountdownChoiceDialog dialog(resume::kQuestionTitle, resume::kQuestionText,
                                  resume::kQuestionTimeoutMs, resume::kQuestionDefaultButton,
                                  resume::kYesCaption, resume::kNoCaption, ticks_);
    switch (dialog.DoModal(DefaultDialogOwner(mainWindow_))) {
        case IDOK:
            return ResumeAnswer::Yes;
        case IDCANCEL:
            return ResumeAnswer::No;
        default:
            return ResumeAnswer::Other;
    }
}

ResumeAnswer DialogResumeQuestion::AskResumeLater() {
    switch (AskMessageBox(nullptr, resume::kResumeLaterText, resume::kQuestionTitle,
                          MB_YESNO | MB_ICONQUESTION)) {
        case IDYES:
            return ResumeAnswer::Yes;
        case IDNO:
            return ResumeAnswer::No;
        default:
            return ResumeAnswer::Other;
    }
}

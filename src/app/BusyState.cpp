#include "app/Main.h"
#include "app/MainForm.h"
#include "app/Progress.h"
#include "app/StatusBar.h"
#include "platform/gui/Application.h"

#include <QLabel>
#include <QProgressBar>

namespace quarn {

void TfMain::BeginBusy() {
    form_->iReady->ShowPicture(form_->NormalIcon);
    form_->iBusy->ShowPicture(form_->BusyIcon);
    fProgress->ClearProgress();
    DisabledWindows = DisableTaskWindows(fProgress);
    fProgress->ShowForm();
    // Inside status panel 1: 2 pixels below its top, 2 above its bottom, 4 short of its
    // right edge.
    const QRect panel = form_->StatusBar->PanelRect(1);
    form_->ProgressBar->setGeometry(panel.adjusted(0, 2, -4, -2));
    form_->ProgressBar->setValue(0);
    form_->ProgressBar->show();
    form_->ProgressBar->raise();
    quarn::ProcessMessages();
}

void TfMain::EndBusy() {
    if (AppMinimized) {
        EndBusyPending = true;
        return;
    }
    fProgress->CloseForm();
    // The window system gives the activation back to the main window as the dialog closes;
    // Qt does not for a window that is no dialog's parent.
    activateWindow();
    form_->ProgressBar->hide();
    form_->iReady->ShowPicture(form_->ReadyIcon);
    form_->iBusy->ShowPicture(form_->NormalIcon);
}

void TfMain::aEventsMinimize() {
    AppMinimized = true;
}

void TfMain::aEventsRestore() {
    AppMinimized = false;
    if (EndBusyPending) {
        EndBusyPending = false;
        EndBusy();
    }
}

} // namespace quarn

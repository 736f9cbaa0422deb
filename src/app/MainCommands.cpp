#include "app/Main.h"
#include "app/MainForm.h"
#include "app/NewPass.h"
#include "app/Progress.h"
#include "app/StatusBar.h"
#include "app/common/ProgramTexts.h"
#include "engine/FileCommands.h"
#include "platform/MessageService.h"
#include "platform/gui/Application.h"
#include "platform/gui/Guard.h"

#include <QAction>
#include <QMetaObject>
#include <QProgressBar>
#include <algorithm>
#include <exception>

namespace quarn {

namespace {
void NoFilesSelected(const char* verb) {
    Messages().Show(MessageKind::Information,
                    std::string("You must first select the files you wish to ") + verb + ".",
                    MessageButtons::Ok);
}
} // namespace

// A command from collecting its files to its end: no other command starts meanwhile, and
// CurrentFolder stays as it was when the files were collected. A fill of the list during the
// command (the tree's delayed sync, a refresh) takes effect when it ends, with the totals and
// the status bar, as do a change of the selection and a request to close the window.
class TfMain::CommandScope {
public:
    explicit CommandScope(TfMain& window) : window_(window) { window_.commandRunning_ = true; }
    ~CommandScope() {
        window_.commandRunning_ = false;
        if (window_.pendingFolder_) {
            const std::string folder = *window_.pendingFolder_;
            window_.pendingFolder_.reset();
            RunGuarded([&] { window_.ListFilled(folder); });
        }
        RunGuarded([&] { window_.CountChangedSelection(); });
        if (window_.closeAfterCommand_) {
            window_.closeAfterCommand_ = false;
            QMetaObject::invokeMethod(&window_, &QWidget::close, Qt::QueuedConnection);
        }
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

private:
    TfMain& window_;
};

template <typename Confirm, typename Work>
void TfMain::RunFileCommand(const char* verb, Confirm confirm, Work work) {
    if (commandRunning_ || FileCommandRunning()) {
        return;
    }
    const CommandScope command(*this);
    if (CollectSelectedFiles() == 0) {
        NoFilesSelected(verb);
        return;
    }
    if (!confirm()) {
        return;
    }
    RunCommand(work);
}

void TfMain::tbEncryptClick() {
    RunFileCommand(
        "encrypt", [this] { return AskPassword(true); },
        [this] {
            EncryptFiles(*this, rijndael_, settings_.Engine, FilePaths(), CurrentFolder,
                         SessionPassword);
        });
}

void TfMain::tbDecryptClick() {
    RunFileCommand(
        "decrypt", [this] { return AskPassword(false); },
        [this] {
            DecryptFiles(*this, rijndael_, settings_.Engine, FilePaths(), CurrentFolder,
                         SessionPassword);
        });
}

void TfMain::tbWipeClick() {
    RunFileCommand(
        "wipe",
        [] {
            return quarn::Messages().Show(MessageKind::Warning, WipeQuestion,
                                          MessageButtons::YesNo) == MessageAnswer::Yes;
        },
        [this] { WipeFiles(*this, settings_.Engine, FilePaths(), CurrentFolder); });
}

bool TfMain::AskPassword(bool newPassword) {
    if (ReusePassword) {
        return true;
    }
    fNewPass->NewPassword = newPassword;
    return fNewPass->exec() == QDialog::Accepted;
}

std::vector<std::string> TfMain::FilePaths() const {
    std::vector<std::string> paths;
    paths.reserve(FileList.size());
    for (const std::string& name : FileList) {
        paths.push_back(CurrentFolder + name);
    }
    return paths;
}

template <typename Loop> void TfMain::RunCommand(Loop loop) {
    SetShellUpdates(false);
    cancelRequested_ = false;
    std::exception_ptr error;
    try {
        BeginBusy();
        loop();
    } catch (...) {
        error = std::current_exception();
    }
    SetShellUpdates(true);
    form_->Refresh1->trigger();
    EndBusy();
    if (error) {
        std::rethrow_exception(error);
    }
}

MessageService& TfMain::Messages() {
    return quarn::Messages();
}

void TfMain::ProcessMessages() {
    quarn::ProcessMessages();
}

void TfMain::SetFileProgress(int percent) {
    fProgress->SetFileProgress(percent);
}

void TfMain::SetOperationType(const std::string& text) {
    fProgress->SetOperationType(text);
}

void TfMain::SetInFile(const std::string& name) {
    fProgress->SetInFile(name);
}

void TfMain::SetOutFile(const std::string& name) {
    fProgress->SetOutFile(name);
}

void TfMain::ClearOutFile() {
    fProgress->ClearOutFile();
}

void TfMain::ShowCounter(int number, int count) {
    form_->StatusBar->SetPanelText(
        0, QStringLiteral("Processing file %1 of %2").arg(number).arg(count));
}

void TfMain::SetOverallProgress(int percent) {
    form_->ProgressBar->setValue(std::clamp(percent, 0, 100));
}

} // namespace quarn

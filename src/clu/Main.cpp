#include "clu/Main.h"

#include "app/common/KVBEllipsisLabel.h"
#include "app/common/KVBRunOnce.h"
#include "app/common/KeyPreview.h"
#include "app/common/PasswordRule.h"
#include "app/common/ProgramTexts.h"
#include "app/common/Settings.h"
#include "clu/MainForm.h"
#include "engine/FileCommands.h"
#include "help/HelpFuncs.h"
#include "platform/MessageService.h"
#include "platform/PosixFile.h"
#include "platform/ProgramFile.h"
#include "platform/gui/AccessibleRole.h"
#include "platform/gui/Application.h"
#include "platform/gui/CentreWindow.h"
#include "platform/gui/DesignScale.h"
#include "platform/gui/Guard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStackedWidget>
#include <algorithm>

namespace quarn::clu {

TfMain* fMain = nullptr;

namespace {

int Percent(int value) {
    return std::clamp(value, 0, 100);
}

bool IsEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Plain keys only: Enter and Escape with Alt or Ctrl belong to the window system.
bool Unmodified(const QKeyEvent& key) {
    return (key.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) == 0;
}

} // namespace

TfMain::TfMain(const TCommandLine& commandLine, const std::string& workingFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      commandLine_(commandLine) {
    fMain = this;
    Rijndael.CipherMode = CBC;
    Rijndael.KeySize = Large256;
    Rijndael.StringMode = smNormal;
    CreateComponents();
    FormCreate(workingFolder);
    if (showMainForm_) {
        PlaceByFrame(this, [this] { PlaceWindow(); });
    }
}

TfMain::~TfMain() {
    FormDestroy();
    std::fill(Password.begin(), Password.end(), '\0');
    if (fMain == this) {
        fMain = nullptr;
    }
}

void TfMain::CreateComponents() {
    // A frame to screen readers, where Qt's interface of a plain widget is a "filler".
    SetAccessibleRole(this, QAccessible::Window);
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(QString::fromUtf8(ProgramCaption));
    form_ = std::make_unique<MainForm>(this);

    RunOnce = new TKVBRunOnce(this);
    RunOnce->setObjectName(QStringLiteral("RunOnce"));
    RunOnce->SetPause(0);
    RunOnce->SetOnRun([this](TKVBRunOnce&) { RunOnceRun(); });

    connect(form_->ePassword, &QLineEdit::textChanged, this,
            Guarded(this, &TfMain::ePasswordChange));
    connect(form_->eConfirm, &QLineEdit::textChanged, this,
            Guarded(this, &TfMain::ePasswordChange));
    connect(form_->bOK, &QPushButton::clicked, this, Guarded(this, &TfMain::bOKClick));
    connect(form_->bCancel, &QPushButton::clicked, this, Guarded(this, &TfMain::bCancelClick));
    connect(form_->Button1, &QPushButton::clicked, this, Guarded(this, &TfMain::Button1Click));

    auto* keys = new KeyPreview(this);
    keys->OnKeyDown = [this](const QKeyEvent& key) { return FormKeyPress(key); };
}

void TfMain::FormCreate(const std::string& workingFolder) {
    SetApplicationHelpFile(FolderPart(ProgramFilePath()) + HelpFileName);

    UtilityStart start = ReadUtilityStart();
    options_ = start.Options;
    FileList = BuildFileList(start.ContextMenuFiles, commandLine_, workingFolder);
    if (commandLine_.ZotShell && FileList.empty()) {
        quarn::Messages().Show(MessageKind::Warning, UsageMessage, MessageButtons::Ok);
        showMainForm_ = false;
        ended_ = true;
        return;
    }

    setWindowTitle(QString::fromUtf8(ProgramCaption));
    if (commandLine_.Operation == TOperation::Wipe) {
        const MessageAnswer answer =
            quarn::Messages().Show(MessageKind::Warning, WipeQuestion, MessageButtons::YesNo);
        if (answer != MessageAnswer::Yes) {
            showMainForm_ = false;
            ended_ = true;
            return;
        }
        ShowProgressPage();
        StartWipe = true;
        RunOnce->RunWhenExposed(this);
        return;
    }
    form_->ePassword->setFocus();
}

void TfMain::FormShow() {
    if (StartWipe) {
        RunOnce->Run();
    }
}

void TfMain::FormDestroy() {
    CloseAllHelpWindows();
}

bool TfMain::FormKeyPress(const QKeyEvent& key) {
    const int code = key.key();
    if (!Unmodified(key) || (!IsEnterKey(code) && code != Qt::Key_Escape)) {
        return false;
    }
    if (form_->Notebook->currentWidget() == form_->ProgressPage) {
        // A held Enter from the Password page must not cancel the run it started.
        if (IsEnterKey(code) && key.isAutoRepeat()) {
            return true;
        }
        form_->Button1->click();
        return true;
    }
    if (code == Qt::Key_Escape) {
        form_->bCancel->click();
        return true;
    }
    // Enter clicks the focused button, else the default button.
    auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
    QPushButton* target = focused != nullptr && isAncestorOf(focused) ? focused : form_->bOK;
    if (target->isEnabled() && target->isVisible()) {
        target->click();
    }
    return true;
}

void TfMain::ePasswordChange() {
    form_->bOK->setEnabled(!form_->ePassword->text().isEmpty() &&
                           !form_->eConfirm->text().isEmpty());
}

void TfMain::RefusePassword() {
    form_->eConfirm->clear();
    form_->ePassword->clear();
    form_->ePassword->setFocus();
}

void TfMain::bOKClick() {
    if (running_ || ended_ || form_->Notebook->currentWidget() != form_->PasswordPage) {
        return;
    }
    const QString text = form_->ePassword->text();
    const PasswordCheck check =
        CheckPassword(text, form_->eConfirm->text(), commandLine_.Operation == TOperation::Encrypt);
    if (check != PasswordCheck::Accepted) {
        ShowPasswordRefusal(check);
        RefusePassword();
        return;
    }
    const QByteArray bytes = text.toUtf8();
    Password.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    form_->eConfirm->clear();
    form_->ePassword->clear();

    hide();
    ShowProgressPage();
    show();
    if (commandLine_.Operation == TOperation::Encrypt) {
        EncryptFiles();
    } else {
        DecryptFiles();
    }
}

void TfMain::bCancelClick() {
    if (!running_) {
        close();
    }
}

void TfMain::Button1Click() {
    cancelRequested_ = true;
}

void TfMain::RunOnceRun() {
    if (!ended_) {
        WipeFiles();
    }
}

template <typename Loop> void TfMain::RunLoop(Loop loop) {
    if (running_ || ended_) {
        return;
    }
    {
        const QScopedValueRollback running(running_, true);
        CurrentFolder = FirstFolder(FileList);
        RunGuarded(loop);
        std::fill(Password.begin(), Password.end(), '\0');
        Password.clear();
    }
    EndRun();
}

void TfMain::EncryptFiles() {
    RunLoop([this] {
        quarn::EncryptFiles(*this, Rijndael, options_, FileList, CurrentFolder, Password);
    });
}

void TfMain::DecryptFiles() {
    RunLoop([this] {
        quarn::DecryptFiles(*this, Rijndael, options_, FileList, CurrentFolder, Password);
    });
}

void TfMain::WipeFiles() {
    RunLoop([this] { quarn::WipeFiles(*this, options_, FileList, CurrentFolder); });
}

void TfMain::EndRun() {
    close();
    MarkEnded();
}

void TfMain::MarkEnded() {
    if (!ended_) {
        ended_ = true;
        emit Finished();
    }
}

void TfMain::ShowProgressPage() {
    form_->ShowPage(form_->ProgressPage);
    PlaceWindow();
    form_->Button1->setFocus();
}

void TfMain::PlaceWindow() {
    const bool progress = form_->Notebook->currentWidget() == form_->ProgressPage;
    const DesignScale px = DesignScale::Of(*this);
    const QSize design =
        progress ? px(ProgressOuterSize).shrunkBy(FrameMargins(this)) : px(PasswordClientSize);
    setFixedSize(design.expandedTo(minimumSizeHint()));
    CentreWindow(this);
}

void TfMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    RunGuarded([this] { FormShow(); });
}

void TfMain::closeEvent(QCloseEvent* event) {
    // The loop that runs finishes its list; the run ends after it.
    if (running_) {
        event->ignore();
        return;
    }
    event->accept();
    MarkEnded();
}

MessageService& TfMain::Messages() {
    return quarn::Messages();
}

void TfMain::ProcessMessages() {
    quarn::ProcessMessages();
}

void TfMain::SetFileProgress(int percent) {
    form_->pbCurrent->setValue(Percent(percent));
}

void TfMain::SetOperationType(const std::string& text) {
    form_->lType->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void TfMain::SetInFile(const std::string& name) {
    form_->lInFile->SetCaption(name);
}

void TfMain::SetOutFile(const std::string& name) {
    form_->lNew->show();
    form_->lOutFile->SetCaption(name);
}

void TfMain::ClearOutFile() {
    form_->lOutFile->SetCaption({});
    form_->lNew->hide();
}

void TfMain::ShowCounter(int number, int count) {
    form_->lOverall->setText(QStringLiteral("%1 of %2").arg(number).arg(count));
}

void TfMain::SetOverallProgress(int percent) {
    form_->pbOverall->setValue(Percent(percent));
}

int RunUtility(const std::vector<std::string>& args) {
    RunGuarded([&] {
        SetApplicationTitle(ProgramCaption);
        // The run ends with its window, not with the last message box that closes.
        QApplication::setQuitOnLastWindowClosed(false);
        const std::optional<TCommandLine> commandLine = ParseCommandLine(args);
        if (!commandLine) {
            quarn::Messages().Show(MessageKind::Warning, UsageMessage, MessageButtons::Ok);
            return;
        }
        TfMain window(*commandLine, WorkingFolder());
        if (!window.ShowMainForm() || window.Ended()) {
            return;
        }
        QEventLoop loop;
        QObject::connect(&window, &TfMain::Finished, &loop, &QEventLoop::quit);
        window.show();
        if (!window.Ended()) {
            loop.exec();
        }
    });
    return 0;
}

} // namespace quarn::clu

#include "clu/Main.h"

#include "app/common/KVBEllipsisLabel.h"
#include "app/common/KVBRunOnce.h"
#include "app/common/Settings.h"
#include "engine/FileCommands.h"
#include "help/HelpFuncs.h"
#include "platform/MessageService.h"
#include "platform/PosixFile.h"
#include "platform/ProgramFile.h"
#include "platform/gui/Application.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QWindow>
#include <algorithm>
#include <exception>
#include <functional>
#include <initializer_list>

namespace quarn::clu {

TfMain* fMain = nullptr;

namespace {

constexpr char Caption[] = "Quarn!";
constexpr char HelpFileName[] = "Quarn! Help.chm";

constexpr char WipeQuestion[] =
    "Wiping a file will permanently overwrite the file's original contents! This procedure "
    "cannot be reversed once started, and the file being wiped is generally not recoverable "
    "by any means.\r\n\r\nWipe the selected files?";
constexpr char MismatchMessage[] = "The passwords you typed do not match. Please try again.";
constexpr char ShortPasswordMessage[] =
    "The password you have chosen is less than 8 characters in length - a potential security "
    "risk. For security purposes, passwords must be 8-255 characters in length. (See the "
    "Strong Passwords topic in Quarn! Help for more information.)";

constexpr QRect PasswordRect{65, 11, 176, 21};
constexpr QRect ConfirmRect{65, 40, 176, 21};
constexpr QRect InFileRect{67, 11, 222, 13};
constexpr QRect OutFileRect{67, 27, 222, 13};
constexpr int OverallLeft = 88;

constexpr int MinNewPasswordBytes = 8;
constexpr int MaxPasswordBytes = 255;

// The Progress page's controls need this much, whatever frame the window system draws.
constexpr QSize ProgressClientMinimum{313, 200};

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, int x, int y) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* text, int x, int y) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, y, 75, 23);
    button->setAutoDefault(false);
    return button;
}

QGroupBox* MakeGroupBox(QWidget* parent, const char* name, int x, int y, int width, int height) {
    auto* box = new QGroupBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(x, y, width, height);
    return box;
}

QLineEdit* MakePasswordEdit(QWidget* parent, const char* name, const QRect& place) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(place);
    edit->setMaxLength(MaxPasswordBytes);
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    return edit;
}

QProgressBar* MakeBar(QWidget* parent, const char* name, int x, int y) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setGeometry(x, y, 280, 17);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

TKVBEllipsisLabel* MakeEllipsisLabel(QWidget* parent, const char* name, const QRect& place) {
    auto* label = new TKVBEllipsisLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->SetAutoSize(false);
    label->SetEllipsis(elEnd);
    label->SetShowAccelChar(false);
    label->SetTransparent(true);
    label->setGeometry(place);
    return label;
}

QRect ScreenRect(const QWidget* widget) {
    QScreen* screen = widget->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? screen->geometry() : QRect();
}

// Keeps a column of controls clear of the captions to their left when the face is wider
// than the one the page was designed for: the column's left edge moves right as one, the
// right edges stay.
constexpr int CaptionGap = 4;

int ColumnLeft(int designLeft, std::initializer_list<const QLabel*> captions) {
    int left = designLeft;
    for (const QLabel* caption : captions) {
        left = std::max(left, caption->geometry().right() + 1 + CaptionGap);
    }
    return left;
}

void PlaceInColumn(QWidget* control, int left, const QRect& design) {
    control->setGeometry(left, design.top(), std::max(design.right() - left + 1, 1),
                         design.height());
}

int Percent(int value) {
    return std::clamp(value, 0, 100);
}

bool IsEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Plain keys only: Enter and Escape with Alt or Ctrl belong to the window system.
bool Unmodified(const QKeyEvent* key) {
    return (key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) == 0;
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
}

TfMain::~TfMain() {
    FormDestroy();
    std::fill(Password.begin(), Password.end(), '\0');
    if (fMain == this) {
        fMain = nullptr;
    }
}

void TfMain::CreateComponents() {
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(QString::fromUtf8(Caption));
    // The pages are laid out in pixels for an 8-point face.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);

    Notebook = new QStackedWidget(this);
    Notebook->setObjectName(QStringLiteral("Notebook"));
    Notebook->setGeometry(QRect(QPoint(0, 0), PasswordClientSize));

    PasswordPage = new QWidget(Notebook);
    PasswordPage->setObjectName(QStringLiteral("Password"));
    Notebook->addWidget(PasswordPage);
    bOK = MakeButton(PasswordPage, "bOK", "&OK", 54, 87);
    bOK->setEnabled(false);
    bCancel = MakeButton(PasswordPage, "bCancel", "&Cancel", 135, 87);
    GroupBox1 = MakeGroupBox(PasswordPage, "GroupBox1", 7, 7, 250, 69);
    Label3 = MakeLabel(GroupBox1, "Label3", "&Password:", 9, 15);
    Label4 = MakeLabel(GroupBox1, "Label4", "Co&nfirm:", 9, 44);
    ePassword = MakePasswordEdit(GroupBox1, "ePassword", PasswordRect);
    eConfirm = MakePasswordEdit(GroupBox1, "eConfirm", ConfirmRect);
    Label3->setBuddy(ePassword);
    Label4->setBuddy(eConfirm);
    setTabOrder(ePassword, eConfirm);
    setTabOrder(eConfirm, bOK);
    setTabOrder(bOK, bCancel);

    ProgressPage = new QWidget(Notebook);
    ProgressPage->setObjectName(QStringLiteral("Progress"));
    Notebook->addWidget(ProgressPage);
    Button1 = MakeButton(ProgressPage, "Button1", "Cancel", 118, 170);
    GroupBox2 = MakeGroupBox(ProgressPage, "GroupBox2", 7, 7, 299, 81);
    lType = MakeLabel(GroupBox2, "lType", "Encrypting:", 10, 11);
    lNew = MakeLabel(GroupBox2, "lNew", "New File:", 10, 27);
    lNew->hide();
    lInFile = MakeEllipsisLabel(GroupBox2, "lInFile", InFileRect);
    lOutFile = MakeEllipsisLabel(GroupBox2, "lOutFile", OutFileRect);
    pbCurrent = MakeBar(GroupBox2, "pbCurrent", 10, 54);
    GroupBox3 = MakeGroupBox(ProgressPage, "GroupBox3", 7, 96, 299, 64);
    Label5 = MakeLabel(GroupBox3, "Label5", "Processing File:", 10, 11);
    lOverall = MakeLabel(GroupBox3, "lOverall", "1of1", OverallLeft, 11);
    pbOverall = MakeBar(GroupBox3, "pbOverall", 10, 37);
    const int editLeft = ColumnLeft(PasswordRect.left(), {Label3, Label4});
    PlaceInColumn(ePassword, editLeft, PasswordRect);
    PlaceInColumn(eConfirm, editLeft, ConfirmRect);
    PlaceFileNames();
    PlaceCounter();

    Notebook->setCurrentWidget(PasswordPage);

    RunOnce = new TKVBRunOnce(this);
    RunOnce->setObjectName(QStringLiteral("RunOnce"));
    RunOnce->SetPause(0);
    RunOnce->SetOnRun([this](TKVBRunOnce&) { RunOnceRun(); });

    connect(ePassword, &QLineEdit::textChanged, this, Handler(&TfMain::ePasswordChange));
    connect(eConfirm, &QLineEdit::textChanged, this, Handler(&TfMain::ePasswordChange));
    connect(bOK, &QPushButton::clicked, this, Handler(&TfMain::bOKClick));
    connect(bCancel, &QPushButton::clicked, this, Handler(&TfMain::bCancelClick));
    connect(Button1, &QPushButton::clicked, this, Handler(&TfMain::Button1Click));

    // Key preview: the window sees keys before its controls.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

std::function<void()> TfMain::Handler(void (TfMain::*method)()) {
    return GuardedHandler([this, method] { (this->*method)(); });
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

    setWindowTitle(QString::fromUtf8(Caption));
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

    PlaceWindow();
    ePassword->setFocus();
}

void TfMain::FormShow() {
    if (StartWipe) {
        RunOnce->Run();
    }
}

void TfMain::FormDestroy() {
    CloseAllHelpWindows();
}

bool TfMain::FormKeyPress(QKeyEvent* key) {
    const int code = key->key();
    if (!Unmodified(key) || (!IsEnterKey(code) && code != Qt::Key_Escape)) {
        return false;
    }
    if (Notebook->currentWidget() == ProgressPage) {
        // A held Enter from the Password page must not cancel the run it started.
        if (IsEnterKey(code) && key->isAutoRepeat()) {
            return true;
        }
        Button1->click();
        return true;
    }
    if (code == Qt::Key_Escape) {
        bCancel->click();
        return true;
    }
    // Enter clicks the focused button, else the default button.
    auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
    QPushButton* target = focused != nullptr && isAncestorOf(focused) ? focused : bOK;
    if (target->isEnabled() && target->isVisible()) {
        target->click();
    }
    return true;
}

bool TfMain::FormKeyUp(QKeyEvent* key) {
    if (key->key() != Qt::Key_F1) {
        return false;
    }
    if (!key->isAutoRepeat()) {
        ShowHelpTopic();
    }
    return true;
}

void TfMain::ePasswordChange() {
    bOK->setEnabled(!ePassword->text().isEmpty() && !eConfirm->text().isEmpty());
}

void TfMain::RefusePassword() {
    eConfirm->clear();
    ePassword->clear();
    ePassword->setFocus();
}

void TfMain::bOKClick() {
    if (running_ || ended_ || Notebook->currentWidget() != PasswordPage) {
        return;
    }
    if (ePassword->text() != eConfirm->text()) {
        quarn::Messages().Show(MessageKind::Error, MismatchMessage, MessageButtons::Ok);
        RefusePassword();
        return;
    }
    // The limits count the bytes the cipher is keyed with.
    const QByteArray bytes = ePassword->text().toUtf8();
    const bool tooShort =
        commandLine_.Operation == TOperation::Encrypt && bytes.size() < MinNewPasswordBytes;
    if (tooShort || bytes.size() > MaxPasswordBytes) {
        quarn::Messages().Show(MessageKind::Warning, ShortPasswordMessage, MessageButtons::Ok);
        RefusePassword();
        return;
    }
    Password.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    eConfirm->clear();
    ePassword->clear();

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
    running_ = true;
    CurrentFolder = FirstFolder(FileList);
    std::exception_ptr error;
    try {
        loop();
    } catch (...) {
        error = std::current_exception();
    }
    std::fill(Password.begin(), Password.end(), '\0');
    Password.clear();
    running_ = false;
    if (error) {
        ReportException(error);
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
    Notebook->setCurrentWidget(ProgressPage);
    PlaceWindow();
    Button1->setFocus();
}

void TfMain::PlaceWindow() {
    const QWindow* handle = windowHandle();
    const QMargins frame = handle != nullptr ? handle->frameMargins() : QMargins();
    appliedFrame_ = frame;
    const QRect screen = ScreenRect(this);
    if (Notebook->currentWidget() == ProgressPage) {
        const QSize client = ProgressOuterSize.shrunkBy(frame).expandedTo(ProgressClientMinimum);
        setFixedSize(client);
        Notebook->setGeometry(QRect(QPoint(0, 0), client));
        move(screen.x() + screen.width() / 2 - 160, screen.y() + screen.height() / 2 - 118);
        return;
    }
    setFixedSize(PasswordClientSize);
    const QSize outer = PasswordClientSize.grownBy(frame);
    move(screen.x() + (screen.width() - outer.width()) / 2,
         screen.y() + (screen.height() - outer.height()) / 2);
}

bool TfMain::event(QEvent* event) {
    // The frame is known only once the window system has decorated the window.
    if (event->type() == QEvent::Move || event->type() == QEvent::Show) {
        const QWindow* handle = windowHandle();
        if (handle != nullptr && handle->frameMargins() != appliedFrame_) {
            PlaceWindow();
        }
    }
    return QWidget::event(event);
}

bool TfMain::eventFilter(QObject* watched, QEvent* event) {
    try {
        if (event->type() == QEvent::KeyPress) {
            return FormKeyPress(static_cast<QKeyEvent*>(event));
        }
        if (event->type() == QEvent::KeyRelease) {
            return FormKeyUp(static_cast<QKeyEvent*>(event));
        }
    } catch (...) {
        ReportException(std::current_exception());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    try {
        FormShow();
    } catch (...) {
        ReportException(std::current_exception());
    }
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
    pbCurrent->setValue(Percent(percent));
}

void TfMain::SetOperationType(const std::string& text) {
    lType->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    lType->adjustSize();
    PlaceFileNames();
}

void TfMain::SetInFile(const std::string& name) {
    lInFile->SetCaption(name);
}

void TfMain::SetOutFile(const std::string& name) {
    lNew->show();
    lOutFile->SetCaption(name);
}

void TfMain::ClearOutFile() {
    lOutFile->SetCaption({});
    lNew->hide();
}

void TfMain::ShowCounter(int number, int count) {
    lOverall->setText(QStringLiteral("%1 of %2").arg(number).arg(count));
    lOverall->adjustSize();
    PlaceCounter();
}

void TfMain::PlaceFileNames() {
    const int left = ColumnLeft(InFileRect.left(), {lType, lNew});
    PlaceInColumn(lInFile, left, InFileRect);
    PlaceInColumn(lOutFile, left, OutFileRect);
}

void TfMain::PlaceCounter() {
    lOverall->move(ColumnLeft(OverallLeft, {Label5}), lOverall->y());
}

void TfMain::SetOverallProgress(int percent) {
    pbOverall->setValue(Percent(percent));
}

int RunUtility(const std::vector<std::string>& args) {
    try {
        SetApplicationTitle(Caption);
        // The run ends with its window, not with the last message box that closes.
        QApplication::setQuitOnLastWindowClosed(false);
        const std::optional<TCommandLine> commandLine = ParseCommandLine(args);
        if (!commandLine) {
            quarn::Messages().Show(MessageKind::Warning, UsageMessage, MessageButtons::Ok);
            return 0;
        }
        TfMain window(*commandLine, WorkingFolder());
        if (!window.ShowMainForm() || window.Ended()) {
            return 0;
        }
        QEventLoop loop;
        QObject::connect(&window, &TfMain::Finished, &loop, &QEventLoop::quit);
        window.show();
        if (!window.Ended()) {
            loop.exec();
        }
    } catch (...) {
        ReportException(std::current_exception());
    }
    return 0;
}

} // namespace quarn::clu

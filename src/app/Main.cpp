#include "app/Main.h"

#include "app/About.h"
#include "app/FavoritesCommands.h"
#include "app/FavoritesStore.h"
#include "app/FileTypeRegistration.h"
#include "app/MainForm.h"
#include "app/NewPass.h"
#include "app/Options.h"
#include "app/StartFolder.h"
#include "app/StatusBar.h"
#include "app/WebPage.h"
#include "app/common/KVBRunOnce.h"
#include "app/common/ProgramTexts.h"
#include "help/HelpFuncs.h"
#include "platform/MessageService.h"
#include "platform/PosixFile.h"
#include "platform/ProgramFile.h"
#include "platform/Registry.h"
#include "platform/gui/ApplicationEvents.h"
#include "platform/gui/CentreWindow.h"
#include "platform/gui/DesignScale.h"
#include "platform/gui/Guard.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <algorithm>

namespace quarn {

TfMain* fMain = nullptr;

namespace {
constexpr char FileExtension[] = ".zot!";
constexpr char FileTypeName[] = "Quarn!";
constexpr char FileTypeDescription[] = "Quarn! Encrypted File";
} // namespace

TfMain::TfMain(std::vector<std::string> arguments)
    : QMainWindow(nullptr), arguments_(std::move(arguments)) {
    fMain = this;
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(QString::fromUtf8(ProgramCaption));
    rijndael_.CipherMode = CBC;
    rijndael_.KeySize = Large256;
    rijndael_.StringMode = smNormal;
    form_ = std::make_unique<MainForm>(this);
    CreateShellControls();
    RunOnce = new TKVBRunOnce(this);
    RunOnce->setObjectName(QStringLiteral("RunOnce"));
    RunOnce->SetPause(0);
    RunOnce->SetOnRun([this](TKVBRunOnce&) { RunOnceRun(); });
    RunOnce->RunWhenExposed(this);
    aEvents = new TApplicationEvents(this);
    TApplicationEvents::CountWindow(*this);
    aEvents->OnMinimize = [this] { aEventsMinimize(); };
    aEvents->OnRestore = [this] { aEventsRestore(); };
    ConnectHandlers();
    const QSize client = DesignScale::Of(*this)(ClientSize);
    resize(client.width(), client.height() + menuBar()->sizeHint().height());
    PlaceByFrame(this, [this] { CentreWindow(this); });
    RunGuarded([this] { FormCreate(); });
}

TfMain::~TfMain() {
    CloseAllHelpWindows();
    std::fill(SessionPassword.begin(), SessionPassword.end(), '\0');
    if (fMain == this) {
        fMain = nullptr;
    }
}

void TfMain::ConnectHandlers() {
    const auto on = [this](auto* sender, auto signal, void (TfMain::*handler)()) {
        connect(sender, signal, this, Guarded(this, handler));
    };
    MainForm& f = *form_;
    on(f.tbUp, &QToolButton::clicked, &TfMain::tbUpClick);
    on(f.tbFavorites, &QToolButton::clicked, &TfMain::tbFavoritesClick);
    on(f.tbRefresh, &QToolButton::clicked, &TfMain::tbRefreshClick);
    on(f.tbSelectAll, &QToolButton::clicked, &TfMain::tbSelectAllClick);
    on(f.tbEncrypt, &QToolButton::clicked, &TfMain::tbEncryptClick);
    on(f.tbDecrypt, &QToolButton::clicked, &TfMain::tbDecryptClick);
    on(f.tbWipe, &QToolButton::clicked, &TfMain::tbWipeClick);
    on(f.Exit1, &QAction::triggered, &TfMain::Exit1Click);
    on(f.SelectAll1, &QAction::triggered, &TfMain::tbSelectAllClick);
    on(f.InvertSelection1, &QAction::triggered, &TfMain::InvertSelection1Click);
    on(f.Encrypt1, &QAction::triggered, &TfMain::tbEncryptClick);
    on(f.Decrypt1, &QAction::triggered, &TfMain::tbDecryptClick);
    on(f.Wipe1, &QAction::triggered, &TfMain::tbWipeClick);
    on(f.SessionPassword1, &QAction::triggered, &TfMain::SessionPassword1Click);
    on(f.Options1, &QAction::triggered, &TfMain::Options1Click);
    on(f.Refresh1, &QAction::triggered, &TfMain::tbRefreshClick);
    on(f.ManageFavorites1, &QAction::triggered, &TfMain::tbFavoritesClick);
    on(f.AddToFavorites1, &QAction::triggered, &TfMain::AddToFavorites1Click);
    on(f.HelpContentsandIndex1, &QAction::triggered, &TfMain::HelpContentsandIndex1Click);
    on(f.LicenseAgreement1, &QAction::triggered, &TfMain::LicenseAgreement1Click);
    on(f.QuarnHomePage1, &QAction::triggered, &TfMain::QuarnHomePage1Click);
    on(f.OnlineSupport1, &QAction::triggered, &TfMain::OnlineSupport1Click);
    on(f.About1, &QAction::triggered, &TfMain::About1Click);
    on(f.Favorites1, &QMenu::aboutToShow, &TfMain::Favorites1Click);
    for (QAction* item : {f.Tiles1, f.Icons1, f.List1, f.Details1, f.pmTiles1, f.pmIcons1,
                          f.pmList1, f.pmDetails1}) {
        connect(item, &QAction::triggered, this, Guarded([this, item] { pmTiles1Click(*item); }));
    }
    on(f.View1, &QMenu::aboutToShow, &TfMain::View1Click);
    on(f.pmView, &QMenu::aboutToShow, &TfMain::pmViewPopup);
    f.StatusBar->OnResize = [this] { StatusBarResize(); };
}

void TfMain::FormCreate() {
    const std::string program = ProgramFilePath();
    SetApplicationHelpFile(FolderPart(program) + HelpFileName);
    registry_ = std::make_unique<TRegistry>();
    FileList.clear();
    favorites_.Clear();
    RegisterFileType(FileExtension, FileTypeName, FileTypeDescription, program, 0, true);
    WriteProgramPath(*registry_, program);
    const StoredSettings stored = ReadSettings(*registry_);
    settings_ = stored.Values;
    setWindowTitle(QString::fromUtf8(ProgramCaption));
    LoadFavorites(rijndael_, stored.Favorites, favorites_);
    form_->iReady->ShowPicture(form_->ReadyIcon);
    form_->iBusy->ShowPicture(form_->NormalIcon);
}

void TfMain::FormShow() {
    RunOnce->Run();
}

void TfMain::RunOnceRun() {
    form_->pStatus->show();
    StatusBarResize();
    ApplyStartFolder();
    UpdateStatusBar();
}

void TfMain::ApplyStartFolder() {
    const StartFolderChoice choice =
        ChooseStartFolder(arguments_, settings_.Startup, settings_.StartupFolder);
    if (choice.StartupFolderMissing) {
        quarn::Messages().Show(MessageKind::Warning,
                               StartupFolderMissingText(settings_.StartupFolder),
                               MessageButtons::Ok);
    }
    if (!choice.Folder.empty()) {
        GoToPath(choice.Folder);
    }
}

void TfMain::FormClose() {
    if (registry_ != nullptr) {
        SaveStartupFolder(*registry_, settings_, CurrentFolder);
    }
}

void TfMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    RunGuarded([this] { FormShow(); });
}

void TfMain::closeEvent(QCloseEvent* event) {
    // A running command finishes first; the window closes after it.
    if (commandRunning_) {
        closeAfterCommand_ = true;
        event->ignore();
        return;
    }
    RunGuarded([this] { FormClose(); });
    event->accept();
    emit Closed();
}

void TfMain::SessionPassword1Click() {
    fNewPass->NewPassword = true;
    fNewPass->exec();
}

void TfMain::About1Click() {
    auto* about = new TfAbout(this);
    about->exec();
}

void TfMain::HelpContentsandIndex1Click() {
    ShowHelpTopic();
}

void TfMain::LicenseAgreement1Click() {
    ShowHelpTopic("standard_license");
}

void TfMain::QuarnHomePage1Click() {
    OpenWebPage(QuarnHomePage);
}

void TfMain::OnlineSupport1Click() {
    OpenWebPage(QuarnSupportPage);
}

void TfMain::Exit1Click() {
    close();
}

void TfMain::Options1Click() {
    quarn::Options1Click(*this);
}

void TfMain::Favorites1Click() {
    quarn::Favorites1Click(*form_->Favorites1, *this);
}

void TfMain::tbFavoritesClick() {
    quarn::tbFavoritesClick(*this);
}

void TfMain::AddToFavorites1Click() {
    quarn::AddToFavorites1Click(*this);
}

} // namespace quarn

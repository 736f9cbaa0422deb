#include "app/MainForm.h"

#include "app/AccessibleToolBar.h"
#include "app/StatusBar.h"
#include "platform/gui/AccessibleRole.h"
#include "platform/gui/DesignScale.h"
#include "platform/gui/Named.h"

#include <QActionGroup>
#include <QBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSplitter>
#include <QSplitterHandle>
#include <QToolBar>
#include <QToolButton>
#include <array>

namespace quarn {

namespace {

// The pictures, their buttons and the lights keep their pixels.
constexpr QSize PictureSize{23, 23};
constexpr QSize ToolButtonSize{30, 29};
constexpr int ToolBarHeight = 31;
constexpr int LightsPanelWidth = 50;
constexpr QSize LightsSize{35, 15};
constexpr int BusyLightLeft = 20;
// In the design's pixels.
constexpr int FoldersPaneWidth = 158;
constexpr int FoldersBarHeight = 20;
constexpr QMargins FoldersBarMargins{4, 0, 4, 0};
constexpr int SplitterWidth = 4;
constexpr int FirstPanelsWidth = 212;
constexpr QSize OverallBarSize{98, 16};

QToolButton* MakeToolButton(const char* name, const char* picture, const char* hint,
                            QToolBar* bar) {
    auto* button = Named<QToolButton>(name, bar);
    button->setIcon(QIcon(QStringLiteral(":/quarn/toolbar/%1.png").arg(QLatin1String(picture))));
    button->setIconSize(PictureSize);
    button->setFixedSize(ToolButtonSize);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setToolTip(QString::fromUtf8(hint));
    button->setAccessibleName(QString::fromUtf8(hint));
    // Tool bars take no focus: the menus and their shortcuts reach every command.
    button->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(button);
    return button;
}

QAction* MakeItem(QMenu* menu, const char* name, const char* caption,
                  const QKeySequence& shortcut = {}) {
    auto* item = Named<QAction>(name, QString::fromUtf8(caption), menu);
    item->setShortcut(shortcut);
    menu->addAction(item);
    return item;
}

QMenu* MakeMenu(QMainWindow* window, const char* name, const char* caption) {
    auto* menu = Named<QMenu>(name, QString::fromUtf8(caption), window);
    menu->setAccessibleName(QString::fromUtf8(caption).remove('&'));
    window->menuBar()->addMenu(menu);
    return menu;
}

// The view styles, radio items of one group with "Details" checked.
void MakeViewStyleItems(QMenu* menu, const std::array<const char*, 4>& names,
                        std::array<QAction**, 4> items) {
    static constexpr std::array<const char*, 4> Captions = {"Tiles", "Icons", "List", "Details"};
    auto* group = new QActionGroup(menu);
    for (std::size_t tag = 0; tag < names.size(); ++tag) {
        QAction* item = MakeItem(menu, names[tag], Captions[tag]);
        item->setData(static_cast<int>(tag));
        item->setCheckable(true);
        item->setChecked(tag == 3);
        group->addAction(item);
        *items[tag] = item;
    }
}

TStatusLight* MakeLight(const char* name, const char* hint, int left, QWidget* parent) {
    auto* light = Named<TStatusLight>(name, QString::fromUtf8(hint), parent);
    light->move(left, 0);
    return light;
}

} // namespace

MainForm::MainForm(QMainWindow* window)
    : NormalIcon{QIcon(QStringLiteral(":/quarn/lights/zNormal.png")), QStringLiteral("off")},
      ReadyIcon{QIcon(QStringLiteral(":/quarn/lights/zReady.png")), QStringLiteral("green")},
      BusyIcon{QIcon(QStringLiteral(":/quarn/lights/zBusy.png")), QStringLiteral("red")} {
    MakeMenus(window);
    MakeToolBar(window);
    auto* client = new QWidget(window);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    window->setCentralWidget(client);
    MakePanes(window);
    MakeStatusBar(window);
    layout->addWidget(Splitter1, 1);
    layout->addWidget(StatusBar);
}

void MainForm::MakeToolBar(QMainWindow* window) {
    ToolBar = Named<QToolBar>("ToolBar", window);
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setIconSize(PictureSize);
    ToolBar->setMinimumHeight(ToolBarHeight);
    ToolBar->toggleViewAction()->setVisible(false);
    window->setContextMenuPolicy(Qt::NoContextMenu);
    tbUp = MakeToolButton("tbUp", "up", "Up", ToolBar);
    tbFavorites = MakeToolButton("tbFavorites", "favorites", "Favorites", ToolBar);
    ToolBar->addSeparator();
    tbRefresh = MakeToolButton("tbRefresh", "refresh", "Refresh views", ToolBar);
    tbSelectAll = MakeToolButton("tbSelectAll", "select-all", "Select all files", ToolBar);
    ToolBar->addSeparator();
    tbEncrypt = MakeToolButton("tbEncrypt", "encrypt", "Encrypt selected files", ToolBar);
    tbDecrypt = MakeToolButton("tbDecrypt", "decrypt", "Decrypt selected files", ToolBar);
    tbWipe = MakeToolButton("tbWipe", "wipe", "Wipe selected files", ToolBar);
    ToolBar->addSeparator();
    tbView = MakeToolButton("tbView", "views", "Views", ToolBar);
    pmView = Named<QMenu>("pmView", window);
    pmView->setAccessibleName(QStringLiteral("Views"));
    MakeViewStyleItems(pmView, {"pmTiles1", "pmIcons1", "pmList1", "pmDetails1"},
                       {&pmTiles1, &pmIcons1, &pmList1, &pmDetails1});
    tbView->setMenu(pmView);
    tbView->setPopupMode(QToolButton::InstantPopup);
    tbView->setFixedSize(ToolButtonSize.width() + 12, ToolButtonSize.height());
    AnnounceToolBar(ToolBar, QStringLiteral("Commands"));
    window->addToolBar(Qt::TopToolBarArea, ToolBar);
}

void MainForm::MakeMenus(QMainWindow* window) {
    File1 = MakeMenu(window, "File1", "&File");
    Exit1 = MakeItem(File1, "Exit1", "E&xit");

    Edit1 = MakeMenu(window, "Edit1", "&Edit");
    SelectAll1 = MakeItem(Edit1, "SelectAll1", "Select All", Qt::CTRL | Qt::Key_A);
    InvertSelection1 = MakeItem(Edit1, "InvertSelection1", "Invert Selection");
    Edit1->addSeparator();
    Encrypt1 = MakeItem(Edit1, "Encrypt1", "Encrypt", Qt::Key_F9);
    Decrypt1 = MakeItem(Edit1, "Decrypt1", "Decrypt", Qt::Key_F10);
    Wipe1 = MakeItem(Edit1, "Wipe1", "Wipe", Qt::Key_Delete);
    Edit1->addSeparator();
    SessionPassword1 = MakeItem(Edit1, "SessionPassword1", "Session Password");
    Options1 = MakeItem(Edit1, "Options1", "Options...");

    View1 = MakeMenu(window, "View1", "&View");
    MakeViewStyleItems(View1, {"Tiles1", "Icons1", "List1", "Details1"},
                       {&Tiles1, &Icons1, &List1, &Details1});
    View1->addSeparator();
    Refresh1 = MakeItem(View1, "Refresh1", "Refresh", Qt::CTRL | Qt::Key_R);

    Favorites1 = MakeMenu(window, "Favorites1", "F&avorites");
    ManageFavorites1 =
        MakeItem(Favorites1, "ManageFavorites1", "Manage Favorites...", Qt::CTRL | Qt::Key_F);
    AddToFavorites1 =
        MakeItem(Favorites1, "AddToFavorites1", "Add to Favorites", Qt::CTRL | Qt::Key_D);
    Favorites1->addSeparator();

    Help1 = MakeMenu(window, "Help1", "&Help");
    HelpContentsandIndex1 =
        MakeItem(Help1, "HelpContentsandIndex1", "Help Contents and Index", Qt::Key_F1);
    Help1->addSeparator();
    LicenseAgreement1 = MakeItem(Help1, "LicenseAgreement1", "License Agreement");
    Help1->addSeparator();
    QuarnHomePage1 = MakeItem(Help1, "QuarnHomePage1", "Quarn! Home Page");
    OnlineSupport1 = MakeItem(Help1, "OnlineSupport1", "Online Support");
    Help1->addSeparator();
    About1 = MakeItem(Help1, "About1", "About Quarn!...");
}

void MainForm::MakePanes(QMainWindow* window) {
    const DesignScale px = DesignScale::Of(*window);
    Splitter1 = Named<QSplitter>("Splitter1", Qt::Horizontal, window);
    Splitter1->setHandleWidth(px(SplitterWidth));
    Splitter1->setChildrenCollapsible(false);

    pContainer = Named<QWidget>("pContainer", Splitter1);
    cbFolders = Named<QWidget>("cbFolders", pContainer);
    cbFolders->setFixedHeight(px(FoldersBarHeight));
    lCategories = Named<QLabel>("lCategories", QStringLiteral("Folders"), cbFolders);
    auto* bar = new QHBoxLayout(cbFolders);
    bar->setContentsMargins(px(FoldersBarMargins));
    bar->addWidget(lCategories);
    auto* pane = new QVBoxLayout(pContainer);
    pane->setContentsMargins(0, 0, 0, 0);
    pane->setSpacing(0);
    pane->addWidget(cbFolders);
    Splitter1->addWidget(pContainer);
    Splitter1->setStretchFactor(0, 0);
}

void MainForm::PlaceShellControls(QWidget* tree, QWidget* list) {
    pContainer->layout()->addWidget(tree);
    Splitter1->addWidget(list);
    Splitter1->setStretchFactor(1, 1);
    const int folders = DesignScale::Of(*Splitter1)(FoldersPaneWidth);
    Splitter1->setSizes({folders, Splitter1->width() - folders});
    lCategories->setBuddy(tree);
    for (int i = 0; i < Splitter1->count(); ++i) {
        SetAccessibleRole(Splitter1->handle(i), QAccessible::Separator);
        Splitter1->handle(i)->setAccessibleName(
            QStringLiteral("Divider between folders and files"));
    }
    QWidget::setTabOrder(tree, list);
}

void MainForm::MakeStatusBar(QMainWindow* window) {
    const DesignScale px = DesignScale::Of(*window);
    StatusBar = Named<TStatusBar>("StatusBar", window);
    StatusBar->AddPanel(px(FirstPanelsWidth), QStringLiteral("0 files"));
    StatusBar->AddPanel(px(FirstPanelsWidth), QStringLiteral("0 selected files"));
    StatusBar->AddPanel(LightsPanelWidth, QString());

    ProgressBar = Named<QProgressBar>("ProgressBar", StatusBar);
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(false);
    ProgressBar->setAccessibleName(QStringLiteral("Overall progress"));
    ProgressBar->resize(px(OverallBarSize));
    ProgressBar->hide();

    pStatus = Named<QWidget>("pStatus", StatusBar);
    pStatus->resize(LightsSize);
    pStatus->hide();
    iReady = MakeLight("iReady", "This Status LED is green when Quarn! is not busy", 0, pStatus);
    iBusy =
        MakeLight("iBusy", "This Status LED is red when Quarn! is busy", BusyLightLeft, pStatus);
}

} // namespace quarn

#pragma once

#include "app/StatusLight.h"

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QProgressBar;
class QSplitter;
class QToolBar;
class QToolButton;
class QWidget;

namespace quarn {

class TStatusBar;

// The controls of the main window: the tool bar, the menus, the two panes with the splitter
// between them and the status bar with the lights and the overall bar. Each control carries
// its name as its object name. The folder tree and the file list are put into the panes by
// the window (PlaceShellControls).
struct MainForm {
    explicit MainForm(QMainWindow* window);

    // The tree below the "Folders" bar on the left, the list on the right.
    void PlaceShellControls(QWidget* tree, QWidget* list);

    QToolBar* ToolBar = nullptr;
    QToolButton* tbUp = nullptr;
    QToolButton* tbFavorites = nullptr;
    QToolButton* tbRefresh = nullptr;
    QToolButton* tbSelectAll = nullptr;
    QToolButton* tbEncrypt = nullptr;
    QToolButton* tbDecrypt = nullptr;
    QToolButton* tbWipe = nullptr;
    QToolButton* tbView = nullptr;
    QMenu* pmView = nullptr;
    QAction* pmTiles1 = nullptr;
    QAction* pmIcons1 = nullptr;
    QAction* pmList1 = nullptr;
    QAction* pmDetails1 = nullptr;

    QMenu* File1 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Edit1 = nullptr;
    QAction* SelectAll1 = nullptr;
    QAction* InvertSelection1 = nullptr;
    QAction* Encrypt1 = nullptr;
    QAction* Decrypt1 = nullptr;
    QAction* Wipe1 = nullptr;
    QAction* SessionPassword1 = nullptr;
    QAction* Options1 = nullptr;
    QMenu* View1 = nullptr;
    QAction* Tiles1 = nullptr;
    QAction* Icons1 = nullptr;
    QAction* List1 = nullptr;
    QAction* Details1 = nullptr;
    QAction* Refresh1 = nullptr;
    QMenu* Favorites1 = nullptr;
    QAction* ManageFavorites1 = nullptr;
    QAction* AddToFavorites1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* HelpContentsandIndex1 = nullptr;
    QAction* LicenseAgreement1 = nullptr;
    QAction* QuarnHomePage1 = nullptr;
    QAction* OnlineSupport1 = nullptr;
    QAction* About1 = nullptr;

    QSplitter* Splitter1 = nullptr;
    QWidget* pContainer = nullptr;
    QWidget* cbFolders = nullptr;
    QLabel* lCategories = nullptr;

    TStatusBar* StatusBar = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QWidget* pStatus = nullptr;
    TStatusLight* iReady = nullptr;
    TStatusLight* iBusy = nullptr;

    // The lights' pictures: off, green and red.
    TLightPicture NormalIcon;
    TLightPicture ReadyIcon;
    TLightPicture BusyIcon;

private:
    void MakeToolBar(QMainWindow* window);
    void MakeMenus(QMainWindow* window);
    void MakePanes(QMainWindow* window);
    void MakeStatusBar(QMainWindow* window);
};

} // namespace quarn

#pragma once

#include "app/FavoritesList.h"
#include "app/MainWindowHost.h"
#include "app/common/Settings.h"
#include "cipher/Rijndael.h"
#include "engine/FileCommandsView.h"
#include "namespace/ShellFolder.h"
#include "platform/gui/TaskWindows.h"

#include <QMainWindow>
#include <QSize>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QKeyEvent;

namespace quarn {

class TApplicationEvents;
class TKVBRunOnce;
class TRegistry;
class TSCShellList;
class TSCShellTree;
struct MainForm;

// Quarn's main window: the folder tree on the left, the file list on the right, the tool bar
// and menus over the commands and the status bar with the lights and the overall bar. It
// holds the settings, the session password and the work of the encrypt, decrypt and wipe
// commands, which it runs with the progress dialog in the busy state.
//
// Its controls are found by name: the tool buttons ("tbEncrypt", ...), the menu items
// ("Encrypt1", "Wipe1", ...), "scsTree", "scsList", "StatusBar", "ProgressBar", "iReady",
// "iBusy".
class TfMain : public QMainWindow, public FileCommandsView, public MainWindowHost {
    Q_OBJECT

public:
    // The area below the menu bar, in the design's pixels (platform/gui/DesignScale.h).
    static constexpr QSize ClientSize{482, 276};

    // arguments: the command line after the program's name, as bytes.
    explicit TfMain(std::vector<std::string> arguments = {});
    ~TfMain() override;

    // Enters the busy state: the lights turn red, the progress dialog shows, every other
    // window is disabled and the overall bar is laid over status panel 1.
    void BeginBusy();
    // Leaves it, or, while the application is minimized, when it is restored.
    void EndBusy();
    // The progress dialog's Cancel and close box: the running command stops.
    void RequestCancel() { cancelRequested_ = true; }

    const Settings& Options() const { return settings_; }

    // MainWindowHost
    QWidget* Window() override { return this; }
    Settings& SettingsFields() override { return settings_; }
    TFavoritesList& FavoritesList() override { return favorites_; }
    TRegistry& Registry() override { return *registry_; }
    TRijndael& Rijndael() override { return rijndael_; }
    std::string TreeSelectedPath() override;
    std::string TreeSelectedCaption() override;
    std::string TreeCurrentFolderPath() override;
    void GoToPath(const std::string& path) override;
    // Panels 0 and 1 from the list's counts and the totals.
    void UpdateStatusBar() override;
    void RefreshViews() override { tbRefreshClick(); }

    // FileCommandsView
    MessageService& Messages() override;
    void ProcessMessages() override;
    bool CancelRequested() const override { return cancelRequested_; }
    void SetFileProgress(int percent) override;
    void SetOperationType(const std::string& text) override;
    void SetInFile(const std::string& name) override;
    void SetOutFile(const std::string& name) override;
    void ClearOutFile() override;
    void ShowCounter(int number, int count) override;
    void SetOverallProgress(int percent) override;

    // The names (without folder) of the files a command works on.
    std::vector<std::string> FileList;
    // The folder the file list shows, ending in "/"; "" until the list is filled and for a
    // folder without a file-system path. A command keeps it from the moment it collects its
    // files until it ends.
    std::string CurrentFolder;
    std::string SessionPassword;
    // While set, the commands take SessionPassword without asking.
    bool ReusePassword = false;
    // What the busy state disabled.
    TaskWindowList DisabledWindows;
    bool AppMinimized = false;
    // EndBusy was asked for while the application was minimized.
    bool EndBusyPending = false;

signals:
    // The window closed: the program ends.
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class CommandScope;

    void CreateShellControls();
    void ConnectHandlers();
    void FormCreate();
    void FormShow();
    void FormClose();
    void RunOnceRun();
    void ApplyStartFolder();

    void scsTreeAddItem(LPCITEMIDLIST parentAbsolutePidl, LPCITEMIDLIST itemRelativePidl,
                        bool& allowAdd);
    void scsListAddItem(IShellFolder* parentFolder, LPCITEMIDLIST itemRelativePidl,
                        SFGAOF attributes, bool& allowAdd);
    void scsListFillComplete();
    // CurrentFolder, the totals and the status bar after the list was filled.
    void ListFilled(const std::string& folder);
    void scsListClick();
    void scsListSelectionChanged();
    // The selection changed since it was last counted: its total and the status bar, unless a
    // command runs.
    void CountChangedSelection();
    // The list's context menu opens: the selection's total and the status bar anew.
    void scsListItemContextMenu();
    void scsListKeyUp(const QKeyEvent& key);
    void StatusBarResize();
    // The view style of the item's tag; the View menu and the tool bar's drop-down check the
    // current style's item when they open.
    void pmTiles1Click(const QAction& sender);
    void pmViewPopup();
    void View1Click();
    void aEventsMinimize();
    void aEventsRestore();

    void tbUpClick();
    void tbRefreshClick();
    void tbSelectAllClick();
    void InvertSelection1Click();
    void tbEncryptClick();
    void tbDecryptClick();
    void tbWipeClick();
    void SessionPassword1Click();
    void About1Click();
    void HelpContentsandIndex1Click();
    void LicenseAgreement1Click();
    void QuarnHomePage1Click();
    void OnlineSupport1Click();
    void Exit1Click();
    void Options1Click();
    void Favorites1Click();
    void tbFavoritesClick();
    void AddToFavorites1Click();

    // The totals, each only while its display option is on. Files without a file-system
    // path (a virtual folder's items) count 0.
    void ComputeFolderSize();
    void ComputeSelectedSize();
    // The size of the file at path, 0 when there is none.
    static std::uint64_t GetFileSize(const std::string& path);
    // The total of CurrentFolder + each name.
    std::uint64_t TotalSize(const std::vector<std::string>& names) const;
    std::vector<std::string> ListedNames() const;

    // The names of the selected files into FileList; the selection is used up. 0 when the
    // list shows a folder without a path.
    int CollectSelectedFiles();
    // CurrentFolder + each name of FileList.
    std::vector<std::string> FilePaths() const;
    // Asks for the password unless the session's is reused; false when cancelled.
    bool AskPassword(bool newPassword);
    // A file command: none while one runs; the selected files, or a message naming the verb
    // when there are none; then confirm, and when it answers true, work in RunCommand's frame,
    // all within a CommandScope.
    template <typename Confirm, typename Work>
    void RunFileCommand(const char* verb, Confirm confirm, Work work);
    // The frame of a command around its loop: the tree and list not repainted, the cancel
    // flag cleared, the busy state, and at the end, whatever happened, the refresh and the
    // end of the busy state. An error that escaped the loop is raised again after that.
    template <typename Loop> void RunCommand(Loop loop);
    // Off: the tree and the list do not repaint their items.
    void SetShellUpdates(bool enabled);

    std::vector<std::string> arguments_;
    std::unique_ptr<MainForm> form_;
    TSCShellTree* scsTree = nullptr;
    TSCShellList* scsList = nullptr;
    TKVBRunOnce* RunOnce = nullptr;
    TApplicationEvents* aEvents = nullptr;
    TRijndael rijndael_;
    std::unique_ptr<TRegistry> registry_;
    Settings settings_;
    TFavoritesList favorites_;
    // Totals of the listed and of the selected files, in bytes.
    std::uint64_t FolderSize = 0;
    std::uint64_t SelectedSize = 0;
    bool cancelRequested_ = false;
    // A command runs, from collecting its files to its end; the list's folder changes
    // meanwhile wait in pendingFolder_.
    bool commandRunning_ = false;
    std::optional<std::string> pendingFolder_;
    // The list's selection changed and is not counted yet.
    bool selectionCountDue_ = false;
    bool closeAfterCommand_ = false;
};

// The program's main window, while it exists.
extern TfMain* fMain;

} // namespace quarn

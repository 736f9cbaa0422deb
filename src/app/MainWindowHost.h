#pragma once

#include <string>

class QWidget;

namespace quarn {

class TFavoritesList;
class TRegistry;
class TRijndael;
struct Settings;

// What the options dialog and the favorites use of the main window: its settings fields, its
// favorites list, its registry object and cipher component, and its folder tree. The main
// window implements it; tests hand the dialogs a small fake.
class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;

    // The owner of the dialogs.
    virtual QWidget* Window() = 0;

    virtual Settings& SettingsFields() = 0;
    virtual TFavoritesList& FavoritesList() = 0;
    // The registry object, left at HKEY_CURRENT_USER after the start-up read.
    virtual TRegistry& Registry() = 0;
    // The cipher component (CBC, Large256, smNormal between uses).
    virtual TRijndael& Rijndael() = 0;

    // The file-system path of the tree's selected node; "" for a virtual folder or none.
    virtual std::string TreeSelectedPath() = 0;
    // The caption of the tree's selected node.
    virtual std::string TreeSelectedCaption() = 0;
    // The file-system path of the tree's current folder (its selected-folder locator); "" for
    // a virtual folder.
    virtual std::string TreeCurrentFolderPath() = 0;
    // The tree goes to the folder; throws when it cannot.
    virtual void GoToPath(const std::string& path) = 0;

    // The status bar after the list changed folder.
    virtual void UpdateStatusBar() = 0;
    // The tree and the list refreshed, as the Refresh tool button does.
    virtual void RefreshViews() = 0;
};

} // namespace quarn

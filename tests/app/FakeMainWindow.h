#pragma once

#include "app/FavoritesList.h"
#include "app/MainWindowHost.h"
#include "app/common/Settings.h"
#include "cipher/Rijndael.h"
#include "platform/Registry.h"

#include <QMenu>
#include <QWidget>
#include <string>
#include <vector>

namespace quarn::test {

// The main window as the options dialog and the favorites see it: its fields, its registry
// object and cipher component as the main window sets them up, a tree that records where it is
// sent, and the Favorites menu with its three fixed items.
class FakeMainWindow : public MainWindowHost {
public:
    FakeMainWindow();

    QWidget* Window() override { return &window; }
    Settings& SettingsFields() override { return settings; }
    TFavoritesList& FavoritesList() override { return favorites; }
    TRegistry& Registry() override { return registry; }
    TRijndael& Rijndael() override { return rijndael; }
    std::string TreeSelectedPath() override { return selectedPath; }
    std::string TreeSelectedCaption() override { return selectedCaption; }
    std::string TreeCurrentFolderPath() override { return currentFolderPath; }
    void GoToPath(const std::string& path) override;
    void UpdateStatusBar() override { ++statusUpdates; }
    void RefreshViews() override { ++refreshes; }

    // The tree's selection: a folder (path and caption) or a virtual one (no path).
    void SelectFolder(const std::string& path, const std::string& caption);

    // The captions of the Favorites menu after its three fixed items.
    QStringList FavoriteCaptions() const;

    QWidget window;
    QMenu Favorites1{"Favorites", &window};
    Settings settings;
    TFavoritesList favorites;
    TRegistry registry{RegistryRoot::CurrentUser};
    TRijndael rijndael;
    std::string selectedPath;
    std::string selectedCaption;
    std::string currentFolderPath;
    bool goToFails = false;
    std::vector<std::string> visited; // GoToPath's folders
    int statusUpdates = 0;
    int refreshes = 0;
};

} // namespace quarn::test

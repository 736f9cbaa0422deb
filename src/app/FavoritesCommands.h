#pragma once

#include <string>

class QMenu;

namespace quarn {

class MainWindowHost;

// The main window's favorites commands. Each saves a change at once and reports what it did
// or why it could not in a message box; paths are shown in them as they are. A command that
// changes the favorites first asks, when the stored value cannot be read, whether to replace
// it; No leaves the favorites and the stored value as they were.

// Rebuilds the Favorites menu when it opens: its first three items (Manage Favorites, Add to
// Favorites, the separator) stay, one item per favorite follows, captioned with the path
// (each "&" doubled) and holding the path's own bytes; choosing one runs FavoriteMenuClick
// with them.
void Favorites1Click(QMenu& menu, MainWindowHost& host);

// A favorite's menu item: the tree goes to the folder, or, when the folder is gone, the user
// may remove the favorite.
void FavoriteMenuClick(const std::string& path, MainWindowHost& host);

// The tree goes to a favorite's folder and the status bar follows; false after the error box
// when it could not.
bool GoToFavorite(const std::string& path, MainWindowHost& host);

// False, after telling the user why, when the favorites cannot store the folder's path (a
// line break in a name, which would keep the whole stored list from loading).
bool FavoritesCanStore(const std::string& path);

// "Add to Favorites": the tree's selected folder joins the favorites.
void AddToFavorites1Click(MainWindowHost& host);

// "Manage Favorites...": the manager; after OK its list replaces the favorites and is saved
// when it differs from them.
void tbFavoritesClick(MainWindowHost& host);

} // namespace quarn

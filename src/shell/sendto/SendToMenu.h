#pragma once

// The Send To submenu of the controls' context menus. Our menu object hands it out holding one
// grayed item; when it opens, the item gives way to the entries of the Send To folder, each
// with its small icon and its name without the extension, identifier i + 1 for entry i.
// Letter keys go to the entries' first characters, as a Win32 menu asks its owner for them.

#include "namespace/ContextMenu.h"
#include "shell/sendto/SendToList.h"

#include <QChar>

class QMenu;

namespace quarn {

// The most entries a menu carries: their identifiers stay below the shell's first command.
inline constexpr int MaxSendToEntries = static_cast<int>(FirstCommandId) - 1;

// Fills popup from the Send To folder when it holds exactly one item and that item is grayed;
// any other popup stays as it was built. Nothing without a menu object; failures are
// swallowed, so the menu keeps running.
void HandleContextMenuInitPopup(QMenu& popup, IContextMenu* menu, TSendToList& list);

enum class MenuCharCommand { Close, Execute, Select };

struct MenuCharResult {
    MenuCharCommand command = MenuCharCommand::Close;
    int entry = -1; // the entry to execute or highlight
};

// The answer to a typed character: the next entry after the highlighted one (from the first
// when none is highlighted, -1) whose first character is ch in any letter case, searching
// round to the start. It is executed when it is the only entry that begins so, else only
// highlighted, so repeated typing cycles among them; none closes the menu.
MenuCharResult HandleContextMenuChar(QChar ch, int highlighted, const TSendToList& list);

// Fills every Send To submenu of menu when it opens and answers the letter keys typed there:
// the command an executed entry gives is the one TrackPopupMenu answers, and a letter no entry
// begins with closes menu.
void ConnectSendToMenu(QMenu& menu, ComPtr<IContextMenu> contextMenu);

} // namespace quarn

#pragma once

// The context-menu routines the folder tree and the file list share: building a menu for
// chosen items and showing it, running its commands by offset or verb name, the help texts
// of its commands, and the owner window of these calls.
//
// In place of the menu messages of a Win32 menu: a QMenu draws and measures its items and
// answers their access keys itself, so our menu objects have nothing to forward to (they
// draw nothing, and there is no IContextMenu2). What stays is the help text of the
// highlighted command, which QMenu::hovered carries to the control's OnPopupHint, and the
// Send To submenu (SendToMenu.h). Submenus of the model become submenus of the QMenu.

#include "namespace/ContextMenu.h"

#include <functional>
#include <memory>
#include <string>

class QAction;
class QMenu;
class QObject;
class QPoint;
class QWidget;

namespace quarn {

// The controls' OnPopupHint: the help text of the highlighted command; "" when it has none.
using TSCShPopupHintEvent = std::function<void(QObject* sender, const std::string& hint)>;

// Builds the context menu of children (one-item lists) of folder, as a QMenu whose actions
// carry their command identifiers in QAction::data(). Callers pass first identifier 1000 and
// CMF_EXPLORE, plus CMF_CANRENAME for menus they show unless they are read-only. A failed
// GetUIObjectOf is answered at once; a failed QueryContextMenu raises EOleSysError with both
// outputs cleared. Otherwise QueryContextMenu's code is answered. The caller keeps the
// IContextMenu while the menu is open, invokes the chosen command and then lets both go.
HRESULT BuildShellContextMenu(HWND owner, IShellFolder* folder, ULONG count,
                              const LPCITEMIDLIST* children, UINT first, UINT flags,
                              std::unique_ptr<QMenu>& menu, ComPtr<IContextMenu>& contextMenu);

// Shows the menu at a screen position until a command is chosen, by mouse or keyboard: its
// identifier, or 0 when the menu was dismissed.
int TrackPopupMenu(QMenu& menu, const QPoint& screenPosition);

// Runs a command of the menu by offset, or by verb name ("copy", "cut", "paste", "delete"):
// a name no command of the menu carries runs nothing and answers S_OK. Otherwise the
// command's own answer.
HRESULT InvokeVerb(HWND owner, IContextMenu* menu, UINT offset);
HRESULT InvokeVerb(HWND owner, IContextMenu* menu, const std::string& verb);

// The offset of the first command whose verb is name (any letter case); -1 when none.
// Raises EOleSysError when the menu cannot be filled.
int FindVerbCommand(IContextMenu* menu, const std::string& name);

// Hands the help text of the highlighted action to the handler: "" for identifiers below
// 1000 (the Send To entries), for submenus and where the menu has no text. Nothing without a
// menu or a handler.
void ReportMenuHelpText(const QAction* highlighted, IContextMenu* menu, QObject* control,
                        const TSCShPopupHintEvent& handler);
// Reports the help texts of menu as its highlight moves, and "" when it closes.
void ConnectMenuHelpTexts(QMenu& menu, ComPtr<IContextMenu> contextMenu, QObject* control,
                          TSCShPopupHintEvent handler);

// The owner window of a control's shell calls: the window (form) that holds it; none without
// a control. An owner handed to the namespace is this QWidget.
HWND GetOwnerFormHandle(const QWidget* control);

} // namespace quarn

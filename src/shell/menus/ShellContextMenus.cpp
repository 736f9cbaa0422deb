#include "shell/menus/ShellContextMenus.h"

#include "namespace/MenuModel.h"
#include "platform/gui/Guard.h"
#include "shell/common/ShellErrors.h"

#include <QAction>
#include <QMenu>
#include <QString>
#include <QWidget>
#include <strings.h>

namespace quarn {

namespace {

constexpr UINT CommandStringSize = 260;

void FillMenu(QMenu& menu, const MenuModel& model) {
    for (std::size_t i = 0; i < model.Count(); ++i) {
        const MenuItem& item = model.At(i);
        if (item.IsSeparator()) {
            menu.addSeparator();
            continue;
        }
        if (item.IsPopup()) {
            FillMenu(*menu.addMenu(QString::fromStdString(item.text)), *item.popup);
            continue;
        }
        QAction* action = menu.addAction(QString::fromStdString(item.text));
        action->setData(static_cast<int>(item.id));
        action->setEnabled((item.flags & MF_GRAYED) == 0);
        if (item.flags & MFS_DEFAULT) {
            menu.setDefaultAction(action);
        }
    }
}

std::unique_ptr<QMenu> MenuFromModel(const MenuModel& model) {
    auto menu = std::make_unique<QMenu>();
    FillMenu(*menu, model);
    return menu;
}

} // namespace

HRESULT BuildShellContextMenu(HWND owner, IShellFolder* folder, ULONG count,
                              const LPCITEMIDLIST* children, UINT first, UINT flags,
                              std::unique_ptr<QMenu>& menu, ComPtr<IContextMenu>& contextMenu) {
    menu.reset();
    contextMenu.reset();
    void* object = nullptr;
    const HRESULT hr =
        folder->GetUIObjectOf(owner, count, children, IID_IContextMenu, nullptr, &object);
    if (Failed(hr)) {
        return hr;
    }
    contextMenu = ComPtr<IContextMenu>::Attach(static_cast<IContextMenu*>(object));
    try {
        MenuModel model;
        const HRESULT result =
            OleCheck(contextMenu->QueryContextMenu(&model, 0, first, LastCommandId, flags));
        menu = MenuFromModel(model);
        return result;
    } catch (...) {
        contextMenu.reset();
        menu.reset();
        throw;
    }
}

int TrackPopupMenu(QMenu& menu, const QPoint& screenPosition) {
    const QAction* chosen = menu.exec(screenPosition);
    return chosen ? chosen->data().toInt() : 0;
}

HRESULT InvokeVerb(HWND owner, IContextMenu* menu, UINT offset) {
    CMINVOKECOMMANDINFO info;
    info.hwnd = owner;
    info.lpVerb = MakeIntVerb(offset);
    info.nShow = SW_SHOWNORMAL;
    return menu->InvokeCommand(&info);
}

HRESULT InvokeVerb(HWND owner, IContextMenu* menu, const std::string& verb) {
    const int offset = FindVerbCommand(menu, verb);
    return offset < 0 ? S_OK : InvokeVerb(owner, menu, static_cast<UINT>(offset));
}

int FindVerbCommand(IContextMenu* menu, const std::string& name) {
    MenuModel model;
    OleCheck(menu->QueryContextMenu(&model, 0, FirstCommandId, LastCommandId, CMF_EXPLORE));
    char verb[CommandStringSize];
    for (std::size_t i = 0; i < model.Count(); ++i) {
        const UINT id = model.At(i).id;
        if (id < FirstCommandId) {
            continue;
        }
        const UINT offset = id - FirstCommandId;
        if (Succeeded(menu->GetCommandString(offset, GCS_VERBA, nullptr, verb, sizeof verb)) &&
            ::strcasecmp(verb, name.c_str()) == 0) {
            return static_cast<int>(offset);
        }
    }
    return -1;
}

void ReportMenuHelpText(const QAction* highlighted, IContextMenu* menu, QObject* control,
                        const TSCShPopupHintEvent& handler) {
    if (menu == nullptr || !handler) {
        return;
    }
    const int id = highlighted ? highlighted->data().toInt() : 0;
    char text[CommandStringSize];
    if (id < static_cast<int>(FirstCommandId) || highlighted->menu() != nullptr ||
        Failed(menu->GetCommandString(static_cast<UINT>(id) - FirstCommandId, GCS_HELPTEXTA,
                                      nullptr, text, sizeof text))) {
        handler(control, {});
        return;
    }
    handler(control, text);
}

void ConnectMenuHelpTexts(QMenu& menu, ComPtr<IContextMenu> contextMenu, QObject* control,
                          TSCShPopupHintEvent handler) {
    QObject::connect(&menu, &QMenu::hovered, &menu,
                     Guarded([contextMenu, control, handler](QAction* action) {
                         ReportMenuHelpText(action, contextMenu.get(), control, handler);
                     }));
    QObject::connect(&menu, &QMenu::aboutToHide, &menu, Guarded([contextMenu, control, handler] {
        ReportMenuHelpText(nullptr, contextMenu.get(), control, handler);
    }));
}

HWND GetOwnerFormHandle(const QWidget* control) {
    return control ? control->window() : nullptr;
}

} // namespace quarn

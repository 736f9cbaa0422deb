// Our context menu and properties window, for a look at them:
//   quarn_context_menu_demo menu|properties PATH...
// The paths lie in one folder. "menu" shows their context menu (a chosen command runs),
// "properties" their properties window.
#include "namespace/ContextMenu.h"
#include "platform/gui/QtMessageService.h"
#include "shell/idlist/PidlRoutines.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/menus/QtDesktopServices.h"
#include "shell/menus/ShellContextMenus.h"

#include <QApplication>
#include <QMenu>
#include <clocale>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

int ShowMenu(const std::vector<std::string>& paths) {
    using namespace quarn;
    const std::string& first = paths.front();
    LPITEMIDLIST folderList = nullptr;
    ComPtr<IShellFolder> folder;
    if (Failed(PathToPidl(first.substr(0, first.find_last_of('/') + 1), folderList)) ||
        Failed(GetPidlFolder(folderList, folder))) {
        std::fprintf(stderr, "cannot open the folder of %s\n", first.c_str());
        return 1;
    }
    FreePidl(folderList);
    std::vector<PidlPtr> children;
    std::vector<LPCITEMIDLIST> items;
    for (const std::string& path : paths) {
        LPITEMIDLIST child = nullptr;
        const std::string name = path.substr(path.find_last_of('/') + 1);
        if (Failed(folder->ParseDisplayName(nullptr, nullptr, name, nullptr, &child, nullptr))) {
            std::fprintf(stderr, "cannot parse %s\n", path.c_str());
            return 1;
        }
        children.emplace_back(child);
        items.push_back(child);
    }
    std::unique_ptr<QMenu> menu;
    ComPtr<IContextMenu> contextMenu;
    BuildShellContextMenu(nullptr, folder.get(), static_cast<ULONG>(items.size()), items.data(),
                          FirstCommandId, CMF_EXPLORE | CMF_CANRENAME, menu, contextMenu);
    if (!menu) {
        return 1;
    }
    ConnectMenuHelpTexts(*menu, contextMenu, nullptr, [](QObject*, const std::string& hint) {
        std::printf("hint: %s\n", hint.c_str());
    });
    const int command = TrackPopupMenu(*menu, QPoint(200, 150));
    if (command >= static_cast<int>(FirstCommandId)) {
        InvokeVerb(nullptr, contextMenu.get(), static_cast<UINT>(command) - FirstCommandId);
    }
    return QApplication::topLevelWidgets().isEmpty() ? 0 : QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    quarn::InstallMessageService(std::make_unique<quarn::QtMessageService>());
    quarn::InstallDesktopServices(std::make_unique<quarn::QtDesktopServices>());
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s menu|properties PATH...\n", argv[0]);
        return 2;
    }
    const std::vector<std::string> paths(argv + 2, argv + argc);
    if (std::string(argv[1]) == "menu") {
        return ShowMenu(paths);
    }
    quarn::InstalledDesktop().ShowProperties(nullptr, paths);
    return QApplication::exec();
}

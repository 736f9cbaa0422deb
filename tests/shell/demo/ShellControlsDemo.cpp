// The folder tree and the file list side by side, linked, with the program's filters: a
// window to look at, not a test. The optional arguments are the folder to open and the list's
// view style: icon, smallicon, list or report.
#include "ControlTestSupport.h"
#include "platform/gui/QtMessageService.h"
#include "shell/list/ShellList.h"

#include <QApplication>
#include <QSplitter>
#include <map>
#include <memory>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    quarn::InstallMessageService(std::make_unique<quarn::QtMessageService>());
    QSplitter window;
    auto* tree = new quarn::TSCShellTree(&window);
    auto* list = new quarn::TSCShellList(&window);
    tree->setIndentation(19);
    tree->OnAddItem = quarn::test::RefuseTrash;
    list->OnAddItem = quarn::test::KeepPlainFilesAndZips;
    tree->WriteShellList(list);
    window.setSizes({158, 324});
    window.resize(482, 276);
    window.show();
    if (argc > 1) {
        tree->GoToPath(argv[1]);
    }
    if (argc > 2) {
        const std::map<std::string, quarn::TViewStyle> styles = {
            {"icon", quarn::TViewStyle::vsIcon},
            {"smallicon", quarn::TViewStyle::vsSmallIcon},
            {"list", quarn::TViewStyle::vsList},
            {"report", quarn::TViewStyle::vsReport}};
        if (const auto style = styles.find(argv[2]); style != styles.end()) {
            list->SetViewStyle(style->second);
        }
    }
    return QApplication::exec();
}

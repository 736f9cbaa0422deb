// The folder tree and the file list of one folder, for a real drag under X: prints the
// screen point of a list row and of a tree node once the window shows, then runs.
//   quarn_drag_window FOLDER LIST-FOLDER ROW-NAME NODE-NAME
#include "ControlTestSupport.h"
#include "platform/gui/QtMessageService.h"
#include "shell/list/ShellList.h"

#include <QApplication>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <memory>

namespace {

void Print(const char* what, QWidget* viewport, QRect rect) {
    const QPoint point = viewport->mapToGlobal(rect.center());
    std::printf("%s %d %d\n", what, point.x(), point.y());
    std::fflush(stdout);
}

int RowNamed(quarn::TSCShellList& list, const QString& name) {
    for (int row = 0; row < list.Count(); ++row) {
        if (list.Items().index(row, 0).data().toString() == name) {
            return row;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s FOLDER LIST-FOLDER ROW-NAME NODE-NAME\n", argv[0]);
        return 2;
    }
    QApplication application(argc, argv);
    quarn::InstallMessageService(std::make_unique<quarn::QtMessageService>());
    QSplitter window;
    auto* tree = new quarn::TSCShellTree(&window);
    auto* list = new quarn::TSCShellList(&window);
    tree->BaseFolder().SetPath(argv[1]);
    tree->WriteShellList(list);
    window.setSizes({200, 400});
    window.resize(600, 400);
    window.move(0, 0);
    window.show();
    tree->GoToPath(argv[2]);
    QTimer::singleShot(1000, [&] {
        tree->Expand(tree->RootNode());
        list->FlushPendingTimers(true);
        const int row = RowNamed(*list, argv[3]);
        auto* node = quarn::test::ChildNamed(tree->Items(), tree->RootNode(), argv[4]);
        if (row < 0 || node == nullptr) {
            std::printf("MISSING\n");
            std::fflush(stdout);
            return;
        }
        Print("ROW", list->View()->viewport(),
              list->View()->visualRect(list->Items().index(row, 0)));
        Print("NODE", tree->viewport(), tree->visualRect(tree->Items().IndexOf(node)));
    });
    return QApplication::exec();
}

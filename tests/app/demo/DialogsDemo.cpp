// The options dialog, the favorites manager and the Favorites menu, for a look at them:
//   quarn_dialogs_demo options [PAGE]   the options dialog on page 0, 1 or 2
//   quarn_dialogs_demo favorites        the favorites manager with a few favorites
//   quarn_dialogs_demo menu [PNG]       the Favorites menu opened; with PNG also saved there
// then a screenshot (a screenshot of the whole screen may show an open menu black). The registry is
// a temporary one; nothing of the user's is changed.
#include "FakeMainWindow.h"
#include "app/FavoritesCommands.h"
#include "app/Options.h"
#include "platform/gui/QtMessageService.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

void AddSampleFavorites(quarn::TFavoritesList& favorites) {
    for (const char* path : {"/home/me/Documents", "/home/me/Letters & Bills", "/srv/Archive",
                             "/home/me/documents", "/media/usb/Backups"}) {
        favorites.Add(path);
    }
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir registry;
    setenv("QUARN_REGISTRY_DIR", registry.path().toLocal8Bit().constData(), 1);
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    quarn::InstallMessageService(std::make_unique<quarn::QtMessageService>());
    quarn::test::FakeMainWindow host;
    AddSampleFavorites(host.favorites);
    const char* what = argc > 1 ? argv[1] : "options";

    if (std::strcmp(what, "options") == 0) {
        quarn::TfOptions options;
        options.LoadSettings(host.settings);
        if (argc > 2) {
            options.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(std::atoi(argv[2]));
        }
        options.exec();
    } else if (std::strcmp(what, "favorites") == 0) {
        quarn::tbFavoritesClick(host);
    } else {
        QMainWindow window;
        window.setWindowTitle("Quarn!");
        window.menuBar()->addMenu(&host.Favorites1);
        QObject::connect(&host.Favorites1, &QMenu::aboutToShow,
                         [&host] { quarn::Favorites1Click(host.Favorites1, host); });
        window.resize(482, 276);
        window.show();
        QTimer::singleShot(300, [&] {
            host.Favorites1.popup(window.mapToGlobal(QPoint(10, window.menuBar()->height())));
        });
        if (argc > 2) {
            QTimer::singleShot(1000, [&] { host.Favorites1.grab().save(argv[2]); });
        }
        return application.exec();
    }
    return 0;
}

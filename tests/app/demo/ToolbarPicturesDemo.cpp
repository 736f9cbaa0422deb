// The tool-bar pictures and the status lights laid out as the main window shows them, for a
// look at them: the tool bar enabled and disabled (flat buttons 30 by 29), and the lights idle
// and busy in a 23-pixel status bar. "--dark" gives a dark palette; QT_SCALE_FACTOR=2 shows the
// @2x pictures. Built by hand from the repository's root:
//   /usr/lib/qt6/libexec/rcc -name images src/app/images/images.qrc -o /tmp/images.cpp
//   g++ -std=c++20 -fPIC tests/app/demo/ToolbarPicturesDemo.cpp /tmp/images.cpp \
//       $(pkg-config --cflags --libs Qt6Widgets) -o /tmp/toolbar-pictures-demo
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPalette>
#include <QStatusBar>
#include <QStyleFactory>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstring>

namespace {

struct Button {
    const char* picture; // empty for a separator
    const char* hint;
};

const Button Buttons[] = {
    {"up", "Up"},
    {"favorites", "Favorites"},
    {"", ""},
    {"refresh", "Refresh views"},
    {"select-all", "Select all files"},
    {"", ""},
    {"encrypt", "Encrypt selected files"},
    {"decrypt", "Decrypt selected files"},
    {"wipe", "Wipe selected files"},
    {"", ""},
    {"views", "Views"},
};

QIcon Picture(const char* name) {
    return QIcon(QStringLiteral(":/quarn/toolbar/%1.png").arg(QLatin1String(name)));
}

QToolBar* MakeToolBar(QMenu* viewMenu, bool enabled) {
    auto* bar = new QToolBar;
    bar->setIconSize(QSize(23, 23));
    bar->setMovable(false);
    for (const Button& button : Buttons) {
        if (*button.picture == '\0') {
            bar->addSeparator();
            continue;
        }
        QAction* action = bar->addAction(Picture(button.picture), QString::fromUtf8(button.hint));
        auto* widget = static_cast<QToolButton*>(bar->widgetForAction(action));
        if (std::strcmp(button.picture, "views") == 0) {
            action->setMenu(viewMenu);
            widget->setPopupMode(QToolButton::MenuButtonPopup);
            widget->setFixedHeight(29);
        } else {
            widget->setFixedSize(30, 29);
        }
    }
    bar->setEnabled(enabled);
    return bar;
}

QWidget* MakeLights(const char* ready, const char* busy) {
    auto* panel = new QWidget;
    panel->setFixedSize(35, 15);
    const char* names[] = {ready, busy};
    for (int i = 0; i < 2; ++i) {
        QIcon light(QStringLiteral(":/quarn/lights/%1.png").arg(QLatin1String(names[i])));
        auto* image = new QLabel(panel);
        image->setGeometry(i * 20, 0, 15, 15);
        image->setPixmap(light.pixmap(QSize(15, 15)));
    }
    return panel;
}

void UseDarkPalette(QApplication& app) {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2d, 0x2d, 0x30));
    dark.setColor(QPalette::WindowText, QColor(0xe8, 0xe8, 0xe8));
    dark.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3e));
    dark.setColor(QPalette::ButtonText, QColor(0xe8, 0xe8, 0xe8));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    app.setPalette(dark);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (argc > 1 && std::strcmp(argv[1], "--dark") == 0) {
        UseDarkPalette(app);
    }

    QMainWindow window;
    QMenu viewMenu;
    for (const char* style : {"Tiles", "Icons", "List", "Details"}) {
        viewMenu.addAction(QString::fromUtf8(style));
    }
    auto* central = new QWidget;
    auto* rows = new QVBoxLayout(central);
    rows->addWidget(MakeToolBar(&viewMenu, true));
    rows->addWidget(MakeToolBar(&viewMenu, false));
    rows->addStretch();
    window.setCentralWidget(central);

    QStatusBar* status = window.statusBar();
    status->setFixedHeight(23);
    status->setSizeGripEnabled(false);
    status->addWidget(new QLabel(QStringLiteral("Idle")));
    status->addWidget(MakeLights("zReady", "zNormal"));
    status->addWidget(new QLabel(QStringLiteral("Busy")));
    status->addWidget(MakeLights("zNormal", "zBusy"));

    window.resize(340, 130);
    window.show();
    return app.exec();
}

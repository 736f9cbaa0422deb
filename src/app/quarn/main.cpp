#include "app/Program.h"
#include "help/HelpFuncs.h"
#include "platform/gui/QtMessageService.h"
#include "shell/menus/QtDesktopServices.h"

#include <QApplication>
#include <clocale>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // File names are bytes: read them before Qt sees the command line.
    const std::vector<std::string> args(argv, argv + argc);
    // The only argument is a path, never an option of Qt: a file named "-style" must not
    // reach QApplication.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication application(qtArgc, argv);
    std::setlocale(LC_NUMERIC, "C");
    quarn::InstallMessageService(std::make_unique<quarn::QtMessageService>());
    quarn::InstallDesktopServices(std::make_unique<quarn::QtDesktopServices>());
    quarn::HelpSession help(argc, argv);
    return quarn::RunQuarn(args);
}

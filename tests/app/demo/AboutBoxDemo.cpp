// The about box of a program that carries the project's version block, for a look at it:
// quarn_about_box_demo [HELP FILE], then a screenshot. With a help file (and the help
// control registered) License and F1 open their topics.
#include "app/About.h"
#include "help/HelpFuncs.h"
#include "platform/gui/QtMessageService.h"

#include <QApplication>
#include <clocale>
#include <memory>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    quarn::InstallMessageService(std::make_unique<quarn::QtMessageService>());
    quarn::HelpSession help(argc, argv);
    if (argc > 1) {
        quarn::SetApplicationHelpFile(argv[1]);
    }
    auto* about = new quarn::TfAbout;
    about->exec();
    quarn::CloseAllHelpWindows();
    return 0;
}

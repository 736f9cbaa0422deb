#include "clu/Main.h"

#include "clu/CommandLine.h"
#include "help/HelpFuncs.h"
#include "platform/gui/QtMessageService.h"

#include <QApplication>
#include <clocale>
#include <memory>

int main(int argc, char** argv) {
    const std::vector<std::string> args = quarn::clu::RawArguments(argc, argv);
    std::vector<std::string> argStrings = args;
    std::vector<char*> rawArgv;
    for (auto& arg : argStrings) {
        rawArgv.push_back(arg.data());
    }
    rawArgv.push_back(nullptr);

    // Every argument after the program is a switch or a file name, never an option of Qt:
    // a file named "-platform" or "-style" must not reach QApplication.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication application(qtArgc, argv);
    std::setlocale(LC_NUMERIC, "C");
    quarn::InstallMessageService(std::make_unique<quarn::QtMessageService>());
    quarn::HelpSession help(static_cast<int>(args.size()), rawArgv.data());
    return quarn::clu::RunUtility(args);
}

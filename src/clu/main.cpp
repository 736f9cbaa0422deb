#include "clu/CommandLine.h"
#include "clu/Main.h"
#include "help/HelpFuncs.h"

#include <QApplication>
#include <clocale>

int main(int argc, char** argv) {
    // Before QApplication, which removes the arguments it knows from argv.
    const std::vector<std::string> args = quarn::clu::RawArguments(argc, argv);
    std::vector<std::string> helpStrings = args;
    std::vector<char*> helpArgv;
    for (auto& arg : helpStrings) {
        helpArgv.push_back(arg.data());
    }
    helpArgv.push_back(nullptr);

    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    quarn::HelpSession help(static_cast<int>(args.size()), helpArgv.data());
    return quarn::clu::RunUtility(args);
}

// Opens one topic of a help file through a help control, to look at the help window.
#include "help/HelpApi.h"

#include <QApplication>
#include <cstdio>
#include <dlfcn.h>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: help_window_demo CONTROL CHM [TOPIC]\n");
        return 2;
    }
    QApplication app(argc, argv);
    void* control = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    auto* htmlHelp = control != nullptr
                         ? reinterpret_cast<quarn::HtmlHelpAProc>(dlsym(control, "HtmlHelpA"))
                         : nullptr;
    if (htmlHelp == nullptr) {
        std::fprintf(stderr, "no help control in %s\n", argv[1]);
        return 1;
    }
    std::string location = argv[2];
    if (argc > 3) {
        location += std::string("::/") + argv[3] + ".htm";
    }
    if (htmlHelp(0, location.c_str(), quarn::HH_DISPLAY_TOPIC, 0) == 0) {
        std::fprintf(stderr, "cannot show %s\n", location.c_str());
        return 1;
    }
    const int result = app.exec();
    htmlHelp(0, nullptr, quarn::HH_CLOSE_ALL, 0);
    dlclose(control);
    return result;
}

// quarn-register: records the help control that sits beside this program as the HTML Help
// control of the user's registry. Run by the installation.
#include "help/HelpApi.h"
#include "platform/PosixFile.h"
#include "platform/ProgramFile.h"

#include <cstdio>

int main() {
    const std::string self = quarn::ProgramFilePath();
    if (self.empty()) {
        std::fprintf(stderr, "quarn-register: cannot find its own folder\n");
        return 1;
    }
    const std::string control = quarn::FolderPart(self) + "libquarn-htmlhelp.so";
    if (!quarn::IsRegularFile(control)) {
        std::fprintf(stderr, "quarn-register: %s is missing\n", control.c_str());
        return 1;
    }
    if (!quarn::RegisterHtmlHelpControl(control)) {
        std::fprintf(stderr, "quarn-register: cannot write the registry\n");
        return 1;
    }
    return 0;
}

// quarn-register: records the help control that sits beside this program as the HTML Help
// control of the user's registry. Run by the installation.
#include "help/HelpApi.h"
#include "platform/PosixFile.h"

#include <climits>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

int main() {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self);
    if (length <= 0) {
        std::fprintf(stderr, "quarn-register: cannot find its own folder\n");
        return 1;
    }
    const std::string control =
        quarn::FolderPart(std::string(self, static_cast<std::size_t>(length))) +
        "libquarn-htmlhelp.so";
    struct stat st {};
    if (stat(control.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::fprintf(stderr, "quarn-register: %s is missing\n", control.c_str());
        return 1;
    }
    if (!quarn::RegisterHtmlHelpControl(control)) {
        std::fprintf(stderr, "quarn-register: cannot write the registry\n");
        return 1;
    }
    return 0;
}

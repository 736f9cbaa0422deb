// quarn-contextmenu: what the file manager's "Encrypt with Quarn!", "Decrypt with Quarn!"
// and "Wipe with Quarn!" run.
#include "clu/contextmenu/ContextMenuCommand.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    try {
        return quarn::contextmenu::RunContextMenuCommand({argv, argv + argc});
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quarn-contextmenu: %s\n", error.what());
        return 1;
    }
}

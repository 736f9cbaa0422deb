#pragma once

#include <string>
#include <vector>

namespace quarn::contextmenu {

// quarn-contextmenu SWITCH FILE...: appends the files to "ContextMenu" in one locked step
// and starts QuarnCLU with SWITCH and "zotshell", detached. With no files it starts QuarnCLU
// with the switch alone, which answers with its usage message. A refused request writes
// nothing. Messages go to stderr; the exit code is 0 on success, 1 on a failure, 2 on a
// usage error.
int RunContextMenuCommand(const std::vector<std::string>& args);

} // namespace quarn::contextmenu

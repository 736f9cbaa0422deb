#pragma once

#include <string>
#include <vector>

namespace quarn {

// Quarn after its arguments were read (args[0] the program, the others as the process got
// them) and the application object exists: the title, the main window, the password dialog
// and the progress dialog in this order, then the event loop until the main window closes.
// Returns the exit code.
int RunQuarn(const std::vector<std::string>& args);

} // namespace quarn

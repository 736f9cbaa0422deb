#pragma once

#include <string>

namespace quarn {

// The running program's file as a full path (what argument 0 names on other platforms);
// "" when the system does not tell.
std::string ProgramFilePath();

} // namespace quarn

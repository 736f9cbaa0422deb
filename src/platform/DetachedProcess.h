#pragma once

#include <string>
#include <vector>

namespace quarn {

// Starts program with args (argument 0 is added) and does not wait for it: in a session of
// its own, in folder when one is given, its input from /dev/null and its signals at their
// defaults. A program name without "/" is looked up in PATH. The arguments go to it byte for
// byte, through no shell. The system's reason when it could not be started, else "". The
// child is reaped when it ends, so it never lingers as a zombie.
std::string StartDetached(const std::string& program, const std::vector<std::string>& args,
                          const std::string& folder = {});

} // namespace quarn

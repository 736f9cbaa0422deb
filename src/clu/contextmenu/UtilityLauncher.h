#pragma once

#include <string>
#include <vector>

namespace quarn::contextmenu {

inline constexpr char UtilityName[] = "QuarnCLU";

// The utility's program file: the one beside selfProgram, else the first in the absolute
// folders of PATH (empty and relative entries, which name the working folder, are passed
// over); "" when there is none.
std::string FindUtility(const std::string& selfProgram);

// Starts program with args (argument 0 is added) in a session of its own, its input from
// /dev/null and its signals at their defaults, and does not wait for it. The system's
// reason when it could not be started, else "".
std::string StartDetached(const std::string& program, const std::vector<std::string>& args);

} // namespace quarn::contextmenu

#pragma once

#include <string>

namespace quarn::contextmenu {

inline constexpr char UtilityName[] = "QuarnCLU";

// The utility's program file: the one beside selfProgram, else the first in the absolute
// folders of PATH (empty and relative entries, which name the working folder, are passed
// over); "" when there is none.
std::string FindUtility(const std::string& selfProgram);

} // namespace quarn::contextmenu

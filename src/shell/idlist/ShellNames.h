#pragma once

// Display names of item-ID lists.

#include "namespace/ShellFolder.h"

#include <string>

namespace quarn {

// The kinds of display name that GetPidlDisplayName gives.
inline constexpr int NormalDisplayName = 0;
inline constexpr int InFolderDisplayName = 1;
inline constexpr int ParsingDisplayName = 2;
inline constexpr int EditingDisplayName = 3; // in folder, for editing

// "" for a kind that is none of these.
std::string GetPidlDisplayName(IShellFolder* folder, LPCITEMIDLIST list, int kind);
std::string GetAbsolutePidlName(LPCITEMIDLIST list); // raises EOleSysError
std::string StrRetToString(LPCITEMIDLIST list, const STRRET& name);
void FreeStrRet(STRRET& name);

} // namespace quarn

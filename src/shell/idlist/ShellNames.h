#pragma once

// Display names of item-ID lists.

#include "namespace/ShellFolder.h"

#include <string>

namespace quarn {

// kind: 0 normal, 1 in folder, 2 for parsing, 3 in folder for editing.
std::string GetPidlDisplayName(IShellFolder* folder, LPCITEMIDLIST list, int kind);
std::string GetAbsolutePidlName(LPCITEMIDLIST list); // raises EOleSysError
std::string StrRetToString(LPCITEMIDLIST list, const STRRET& name);
void FreeStrRet(STRRET& name);

} // namespace quarn

#pragma once

#include <string>
#include <string_view>

namespace quarn {

// Whether path could name an entry at all: shorter than PATH_MAX (4096 bytes, its terminating
// NUL included) and no name in it longer than NAME_MAX (255 bytes). Paths from outside the
// program (clipboard, drops) are checked with it before any work is done with them.
bool WithinPathLimits(std::string_view path);

// Whether the file system of path's folder can hold an entry under path. A folder that cannot
// be asked passes here and fails where the entry is made.
bool NameFits(const std::string& path);

} // namespace quarn

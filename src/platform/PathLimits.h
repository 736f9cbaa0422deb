#pragma once

#include <string_view>

namespace quarn {

// Whether path could name an entry at all: shorter than PATH_MAX (4096 bytes, its terminating
// NUL included) and no name in it longer than NAME_MAX (255 bytes). Paths from outside the
// program (clipboard, drops) are checked with it before any work is done with them.
bool WithinPathLimits(std::string_view path);

} // namespace quarn

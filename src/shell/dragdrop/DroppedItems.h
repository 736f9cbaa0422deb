#pragma once

#include "shell/dragdrop/DataTransfer.h"

#include <string>
#include <vector>

namespace quarn {

// The copy, move and link effects that every item of the data object's "Shell IDList Array"
// allows; all three when it offers no such block, none when its block is not a valid one.
// Raises EOleSysError when the items' folder cannot be bound or their attributes not read.
DWORD ReadShellIdList(IDataObject* data);

// The file-system paths of the dropped items: from the "Shell IDList Array" when it is valid
// and names file-system items only, else from CF_HDROP; none when neither can be read.
std::vector<std::string> DroppedPaths(IDataObject* data);

} // namespace quarn

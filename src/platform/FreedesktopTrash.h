#pragma once

#include "platform/FileOperationResult.h"

#include <string>

namespace quarn {

// Moves the entry at path into the freedesktop trash, never deleting anything. The home trash
// (homeTrash, holding files/ and info/; made when missing) takes entries of its own file
// system; an entry on another volume goes to ".Trash-<uid>" at the top of that volume, made
// when missing. Where that folder cannot be made or is not this user's own, the entry stays
// and the result says why. The entry's info file is claimed first, complete and without
// replacing another, and removed again when the move fails; a name in use takes ".2", ".3", ...
FileOperationResult TrashEntry(const std::string& path, const std::string& homeTrash);

} // namespace quarn

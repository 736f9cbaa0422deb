#pragma once

#include "platform/FileOperationResult.h"
#include "shell/dragdrop/DropEffects.h"

#include <functional>
#include <string>
#include <vector>

namespace quarn {

// How a drop on a folder ended: the effect done with the items that went, and each refusal.
struct DropResult {
    DWORD effect = DROPEFFECT_NONE; // none when no item went
    std::vector<FileOperationResult> failures;

    bool Done() const { return failures.empty() && effect != DROPEFFECT_NONE; }
};

// The one effect a drop takes, from the keys held and the effects the items allow: Ctrl and
// Shift together link, Ctrl copies, Shift moves; without them items on the folder's own file
// system move and others are copied, or the first allowed of copy, move and link is taken.
DWORD ChooseDropEffect(DWORD keyState, DWORD allowed, bool sameFileSystem);

// Whether every item lies on the file system of the folder.
bool OnFileSystemOf(const std::string& folder, const std::vector<std::string>& items);

// Told of each refused item as it is refused, and whether more items follow; answers whether
// the drop goes on with them.
using DropRefusalHandler = std::function<bool(const FileOperationResult& refusal, bool moreFollow)>;

// Copies, moves or links (a symbolic link) each item into the folder under its own name.
// Nothing is replaced; a folder never goes into itself; a move across file systems copies,
// flushes and only then removes. A refused item is kept in the failures and handed to
// refused, which says whether the items after it are tried. An item moved onto its own folder
// stays as it is and counts as nothing done.
DropResult DropOnFolder(const std::string& folder, const std::vector<std::string>& items,
                        DWORD effect, const DropRefusalHandler& refused);

} // namespace quarn

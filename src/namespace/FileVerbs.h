#pragma once

#include <string>
#include <vector>

namespace quarn {

// The work behind our context menu's verbs, on file-system paths. A failure for one entry is
// shown in its own message box, and the work goes on with the next entry.

// Each entry in the desktop's default application; one that none opens is shown when the
// desktop says so, which may be after the call.
void OpenEntries(const std::vector<std::string>& paths);

// The entries on the clipboard, to be moved (cut) or copied where they are pasted.
void PutEntriesOnClipboard(const std::vector<std::string>& paths, bool cut);
bool ClipboardHoldsEntries();

// Copies (or, when they were cut, moves) the clipboard's entries into the folder, never
// replacing an entry there. The message of a refused entry offers Cancel while more follow,
// which leaves the rest where they are. Cut entries that all moved leave the clipboard empty.
void PasteIntoFolder(const std::string& folder);

// Each entry into the trash; nothing is ever deleted outright.
void TrashEntries(const std::vector<std::string>& paths);

} // namespace quarn

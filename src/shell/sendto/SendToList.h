#pragma once

// The entries of the user's Send To folder that the context menus offer: one process-wide
// list, sorted, filled from the folder each time a Send To submenu opens.

#include <string>
#include <vector>

namespace quarn {

struct SendToEntry {
    std::string name;   // the file name in the Send To folder, extension included
    int iconIndex = -1; // its small icon in the system image list; -1 when it has none
};

// Sorted as the file list sorts names (collation first, then bytes); a name that is already
// listed is not added again.
class TSendToList {
public:
    void Add(std::string name, int iconIndex);
    void Clear() { entries_.clear(); }
    int Count() const { return static_cast<int>(entries_.size()); }
    const SendToEntry& At(int index) const { return entries_.at(static_cast<std::size_t>(index)); }

private:
    std::vector<SendToEntry> entries_;
};

// The process-wide list, created on first use.
TSendToList& SendToList();

// Adds the entries of folder that match one of masks ("*", "?") and are neither folders nor
// hidden (a name that begins with "."). A symbolic link is an entry, also one to a folder.
// A folder that cannot be read adds nothing.
void EnumerateSendToFiles(const std::string& folder, const std::vector<std::string>& masks,
                          TSendToList& list);

// What the menu shows for an entry: its name without the extension.
std::string SendToEntryText(const std::string& name);

} // namespace quarn

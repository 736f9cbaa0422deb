#include "Folders.h"
#include "ItemEnumerators.h"
#include "UserFolders.h"

#include <climits>

namespace quarn {

bool FileSystemFolder::IsChild(const Item& item) const {
    return std::holds_alternative<EntryItem>(item);
}

// A folder whose path is too long for any system call is none: a crafted list of thousands of
// levels is refused at the first level past PATH_MAX.
ComPtr<NamespaceFolder> FileSystemFolder::BindChild(const Item& child) const {
    const auto& entry = std::get<EntryItem>(child);
    std::string path = JoinPath(path_, entry.name);
    if (!entry.IsFolder() || path.size() >= PATH_MAX) {
        return nullptr;
    }
    return MakeCom<FileSystemFolder>(std::move(path));
}

HRESULT FileSystemFolder::EnumObjects(HWND, SHCONTF flags, IEnumIDList** items) {
    return DirectoryEnumerator::Open(path_, flags, items);
}

} // namespace quarn

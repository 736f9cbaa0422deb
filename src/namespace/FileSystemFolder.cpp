#include "Folders.h"
#include "ItemEnumerators.h"
#include "UserFolders.h"

namespace quarn {

bool FileSystemFolder::IsChild(const Item& item) const {
    return std::holds_alternative<EntryItem>(item);
}

ComPtr<NamespaceFolder> FileSystemFolder::BindChild(const Item& child) const {
    const auto& entry = std::get<EntryItem>(child);
    if (!entry.IsFolder()) {
        return nullptr;
    }
    return MakeCom<FileSystemFolder>(JoinPath(path_, entry.name));
}

HRESULT FileSystemFolder::EnumObjects(HWND, SHCONTF flags, IEnumIDList** items) {
    return DirectoryEnumerator::Open(path_, flags, items);
}

} // namespace quarn

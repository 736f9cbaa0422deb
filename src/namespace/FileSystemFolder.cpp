#include "namespace/Folders.h"
#include "namespace/ItemEnumerators.h"
#include "namespace/UserFolders.h"
#include "platform/FileOperationResult.h"
#include "platform/MessageService.h"

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

// Given an owner window, a folder that cannot be opened tells the user why, as the shell
// does; the caller then ends its fill without a word of its own.
HRESULT FileSystemFolder::EnumObjects(HWND owner, SHCONTF flags, IEnumIDList** items) {
    const HRESULT hr = DirectoryEnumerator::Open(path_, flags, items);
    if (Failed(hr) && owner != nullptr && items != nullptr) {
        Messages().Show(MessageKind::Error,
                        "Unable to list the folder " + QuotedName(path_) + ": " +
                            HResultMessage(hr) + ".",
                        MessageButtons::Ok);
    }
    return hr;
}

} // namespace quarn

#include "namespace/Folders.h"
#include "namespace/ItemEnumerators.h"
#include "namespace/MountTable.h"

#include <vector>

namespace quarn {

bool ComputerFolder::IsChild(const Item& item) const {
    return std::holds_alternative<VolumeItem>(item);
}

ComPtr<NamespaceFolder> ComputerFolder::BindChild(const Item& child) const {
    return MakeCom<FileSystemFolder>(std::string(std::get<VolumeItem>(child).mountPoint));
}

// Volumes come from the mount table alone: no mount point is touched, so a dead server
// cannot hold the listing.
HRESULT ComputerFolder::EnumObjects(HWND, SHCONTF flags, IEnumIDList** items) {
    if (items == nullptr) {
        return E_POINTER;
    }
    std::vector<std::string> children;
    if (flags & SHCONTF_FOLDERS) {
        for (const Volume& volume : MountTable::Volumes()) {
            children.push_back(EncodeItem(VolumeItem{volume.driveType, volume.mountPoint}));
        }
    }
    *items = MakeCom<ListEnumerator>(std::move(children)).Detach();
    return S_OK;
}

void ComputerFolder::Validate() {
    MountTable::Reload();
}

} // namespace quarn

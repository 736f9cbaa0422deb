#include "namespace/Folders.h"
#include "namespace/ItemEnumerators.h"
#include "namespace/ItemInfo.h"
#include "namespace/MountTable.h"
#include "namespace/UserFolders.h"

#include <cerrno>
#include <climits>
#include <vector>

namespace quarn {

namespace {

// "/a/./b/../c/" is "/a/c"; ".." at the root stays there.
std::string NormalizedPath(std::string_view path) {
    std::vector<std::string_view> components;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view component = path.substr(start, end - start);
        if (component == "..") {
            if (!components.empty()) {
                components.pop_back();
            }
        } else if (!component.empty() && component != ".") {
            components.push_back(component);
        }
        start = end + 1;
    }
    std::string normalized;
    for (std::string_view component : components) {
        normalized.append("/").append(component);
    }
    return normalized.empty() ? "/" : normalized;
}

// The part of path below folder, without its leading "/".
std::string Below(const std::string& path, const std::string& folder) {
    const std::size_t skip = folder == "/" ? 1 : folder.size() + 1;
    return path.size() > skip ? path.substr(skip) : std::string();
}

} // namespace

bool DesktopFolder::IsChild(const Item& item) const {
    return std::holds_alternative<RootItem>(item);
}

ComPtr<NamespaceFolder> DesktopFolder::BindChild(const Item& child) const {
    switch (std::get<RootItem>(child).kind) {
    case RootKind::Home: {
        const std::string home = HomeFolder();
        return home.empty() ? nullptr : ComPtr<NamespaceFolder>(MakeCom<FileSystemFolder>(home));
    }
    case RootKind::Computer:
        return MakeCom<ComputerFolder>();
    case RootKind::Trash:
        return MakeCom<TrashFolder>();
    }
    return nullptr;
}

HRESULT DesktopFolder::EnumObjects(HWND, SHCONTF flags, IEnumIDList** items) {
    if (items == nullptr) {
        return E_POINTER;
    }
    std::vector<std::string> children;
    if (flags & SHCONTF_FOLDERS) {
        if (!HomeFolder().empty()) {
            children.push_back(EncodeItem(RootItem{RootKind::Home}));
        }
        children.push_back(EncodeItem(RootItem{RootKind::Computer}));
        children.push_back(EncodeItem(RootItem{RootKind::Trash}));
    }
    *items = MakeCom<ListEnumerator>(std::move(children)).Detach();
    return S_OK;
}

// Paths below $HOME parse as Home/...; any other as Computer/<volume>/....
HRESULT DesktopFolder::ParseDisplayName(HWND, IBindCtx*, const std::string& name, ULONG* eaten,
                                        LPITEMIDLIST* list, SFGAOF* attributes) {
    if (list == nullptr) {
        return E_POINTER;
    }
    *list = nullptr;
    if (!name.starts_with('/') || name.find('\0') != std::string::npos) {
        return E_INVALIDARG;
    }
    if (name.size() >= PATH_MAX) {
        return HResultFromErrno(ENAMETOOLONG);
    }
    const std::string path = NormalizedPath(name);
    const std::string home = HomeFolder();
    std::string items;
    std::string base;
    Item last;
    if (!home.empty() && IsPathWithin(path, home)) {
        last = RootItem{RootKind::Home};
        items = EncodeItem(std::get<RootItem>(last));
        base = home;
    } else {
        const Volume volume = MountTable::VolumeOf(path);
        last = VolumeItem{volume.driveType, volume.mountPoint};
        items = EncodeItem(RootItem{RootKind::Computer}) + EncodeItem(std::get<VolumeItem>(last));
        base = volume.mountPoint;
    }
    const std::string rest = Below(path, base);
    if (rest.empty()) {
        if (attributes) {
            *attributes &= ItemAttributes(last);
        }
    } else {
        const HRESULT hr = ParseEntries(base, rest, items, attributes);
        if (Failed(hr)) {
            return hr;
        }
    }
    return HandOutParsedList(name, items, eaten, list);
}

HRESULT DesktopFolder::GetAttributesOf(ULONG count, const LPCITEMIDLIST* items,
                                       SFGAOF* attributes) {
    if (count == 1 && items != nullptr && attributes != nullptr && items[0] != nullptr &&
        !HasItems(items[0])) {
        *attributes &= DesktopAttributes();
        return S_OK;
    }
    return NamespaceFolder::GetAttributesOf(count, items, attributes);
}

HRESULT DesktopFolder::GetDisplayNameOf(LPCITEMIDLIST item, SHGDNF flags, STRRET* name) {
    if (name != nullptr && item != nullptr && !HasItems(item)) {
        name->uType = STRRET_CSTR;
        name->cStr = DesktopDisplayName(flags);
        return S_OK;
    }
    return NamespaceFolder::GetDisplayNameOf(item, flags, name);
}

} // namespace quarn

#include "namespace/Namespace.h"

#include "namespace/Folders.h"
#include "namespace/ItemInfo.h"
#include "namespace/UserFolders.h"

#include <climits>
#include <optional>

namespace quarn {

namespace {

// An absolute list taken apart: its last item (none for the desktop) and the path of the
// folder that holds it.
struct ResolvedList {
    std::optional<Item> last;
    std::string folderPath;
};

// Each level must be a child of the one before it: roots, then volumes below Computer,
// entries below Home, volumes and folders, trash items below Trash.
std::optional<ResolvedList> Resolve(LPCITEMIDLIST list) {
    if (list == nullptr) {
        return std::nullopt;
    }
    ResolvedList resolved;
    for (; HasItems(list); list = NextItem(list)) {
        auto item = DecodeItem(FirstItem(list));
        if (!item) {
            return std::nullopt;
        }
        const auto* parent = resolved.last ? &*resolved.last : nullptr;
        const auto* parentRoot = parent ? std::get_if<RootItem>(parent) : nullptr;
        const auto* parentEntry = parent ? std::get_if<EntryItem>(parent) : nullptr;
        const bool fits = std::visit(
            Overloaded{
                [&](const RootItem&) { return parent == nullptr; },
                [&](const VolumeItem&) {
                    return parentRoot && parentRoot->kind == RootKind::Computer;
                },
                [&](const EntryItem&) {
                    return (parentRoot && parentRoot->kind == RootKind::Home) ||
                           (parent && std::holds_alternative<VolumeItem>(*parent)) ||
                           (parentEntry && parentEntry->IsFolder());
                },
                [&](const TrashItem&) { return parentRoot && parentRoot->kind == RootKind::Trash; },
            },
            *item);
        if (!fits) {
            return std::nullopt;
        }
        if (parent) {
            resolved.folderPath = ItemPath(*parent, resolved.folderPath);
            if (resolved.folderPath.size() >= PATH_MAX) {
                return std::nullopt; // no entry has a path this long
            }
        }
        resolved.last = std::move(item);
    }
    return resolved;
}

HRESULT HandOutList(const std::string& items, LPITEMIDLIST* list) {
    *list = AllocateList(items);
    return *list ? S_OK : E_OUTOFMEMORY;
}

HRESULT ParsePath(const std::string& path, LPITEMIDLIST* list) {
    return MakeCom<DesktopFolder>()->ParseDisplayName(nullptr, nullptr, path, nullptr, list,
                                                      nullptr);
}

} // namespace

HRESULT SHGetDesktopFolder(IShellFolder** folder) {
    if (folder == nullptr) {
        return E_POINTER;
    }
    *folder = MakeCom<DesktopFolder>().Detach();
    return S_OK;
}

HRESULT SHGetSpecialFolderLocation(HWND, int csidl, LPITEMIDLIST* list) {
    if (list == nullptr) {
        return E_POINTER;
    }
    *list = nullptr;
    switch (csidl) {
    case CSIDL_DESKTOP:
        return HandOutList({}, list);
    case CSIDL_PERSONAL:
        return ParsePath(UserDirectory("DOCUMENTS", "Documents"), list);
    case CSIDL_SENDTO: {
        const auto folder = SendToFolder();
        return folder ? ParsePath(*folder, list) : E_FAIL;
    }
    case CSIDL_BITBUCKET:
        return HandOutList(EncodeItem(RootItem{RootKind::Trash}), list);
    case CSIDL_DESKTOPDIRECTORY:
        return ParsePath(UserDirectory("DESKTOP", "Desktop"), list);
    case CSIDL_DRIVES:
        return HandOutList(EncodeItem(RootItem{RootKind::Computer}), list);
    case CSIDL_PROFILE:
        return HomeFolder().empty() ? E_FAIL
                                    : HandOutList(EncodeItem(RootItem{RootKind::Home}), list);
    default:
        return E_INVALIDARG;
    }
}

std::string SHGetPathFromIDList(LPCITEMIDLIST list) {
    const auto resolved = Resolve(list);
    if (!resolved || !resolved->last) {
        return {};
    }
    return ItemPath(*resolved->last, resolved->folderPath);
}

bool SHGetFileInfo(LPCITEMIDLIST list, std::uint32_t flags, SHFILEINFO* info) {
    const auto resolved = Resolve(list);
    if (!resolved || info == nullptr) {
        return false;
    }
    const Item* item = resolved->last ? &*resolved->last : nullptr;
    if (flags & SHGFI_SYSICONINDEX) {
        info->iconName = item ? ItemIconName(*item, flags & SHGFI_OPENICON) : DesktopIconName();
    }
    if (flags & SHGFI_DISPLAYNAME) {
        info->displayName = item ? ItemDisplayName(*item, SHGDN_NORMAL, resolved->folderPath)
                                 : DesktopDisplayName(SHGDN_NORMAL);
    }
    if (flags & SHGFI_TYPENAME) {
        info->typeName = item ? ItemTypeName(*item) : std::string("System Folder");
    }
    if (flags & SHGFI_ATTRIBUTES) {
        info->attributes = item ? ItemAttributes(*item) : DesktopAttributes();
    }
    return true;
}

} // namespace quarn

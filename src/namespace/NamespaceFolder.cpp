#include "namespace/NamespaceFolder.h"

#include "namespace/FileContextMenu.h"
#include "namespace/FileEntries.h"
#include "namespace/ItemInfo.h"
#include "namespace/UserFolders.h"
#include "platform/EntryRename.h"
#include "platform/MessageService.h"
#include "platform/SplitText.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <vector>

namespace quarn {

namespace {

std::optional<Item> DecodeFirst(LPCITEMIDLIST list) {
    if (!HasItems(list)) {
        return std::nullopt;
    }
    return DecodeItem(FirstItem(list));
}

} // namespace

HRESULT NamespaceFolder::QueryInterface(const IID& iid, void** object) {
    return QueryOwnInterface<IShellFolder>(this, iid, object);
}

std::optional<Item> NamespaceFolder::ChildItem(LPCITEMIDLIST list) const {
    auto item = DecodeFirst(list);
    if (item && !IsChild(*item)) {
        return std::nullopt;
    }
    return item;
}

HRESULT NamespaceFolder::ParseDisplayName(HWND, IBindCtx*, const std::string& name, ULONG* eaten,
                                          LPITEMIDLIST* list, SFGAOF* attributes) {
    if (list == nullptr) {
        return E_POINTER;
    }
    *list = nullptr;
    if (Path().empty()) {
        return E_NOTIMPL;
    }
    if (name.starts_with('/')) {
        return E_INVALIDARG;
    }
    std::string items;
    const HRESULT hr = ParseEntries(Path(), name, items, attributes);
    return Failed(hr) ? hr : HandOutParsedList(name, items, eaten, list);
}

HRESULT ParseEntries(const std::string& folderPath, const std::string& relativePath,
                     std::string& items, SFGAOF* attributes) {
    std::vector<std::string_view> components;
    for (std::string_view component : SplitSkippingEmpty(relativePath, '/')) {
        if (component == "..") {
            if (components.empty()) {
                return E_INVALIDARG;
            }
            components.pop_back();
        } else if (component != ".") {
            components.push_back(component);
        }
    }
    if (components.empty()) {
        return E_INVALIDARG;
    }
    std::string path = folderPath;
    EntryResult entry;
    for (std::size_t i = 0; i < components.size(); ++i) {
        if (!IsEntryName(components[i])) {
            return components[i].size() > NAME_MAX ? HResultFromErrno(ENAMETOOLONG) : E_INVALIDARG;
        }
        path = JoinPath(path, components[i]);
        if (path.size() >= PATH_MAX) {
            return HResultFromErrno(ENAMETOOLONG);
        }
        entry = StatEntry(AT_FDCWD, path.c_str(), components[i]);
        if (entry.error != 0) {
            return HResultFromErrno(entry.error);
        }
        if (i + 1 < components.size() && !entry.folder) {
            return HResultFromErrno(ENOTDIR);
        }
        items += entry.item;
    }
    if (attributes) {
        const auto last = DecodeItem(
            {reinterpret_cast<const std::uint8_t*>(entry.item.data()), entry.item.size()});
        *attributes &= last ? ItemAttributes(*last) : 0;
    }
    return S_OK;
}

HRESULT HandOutParsedList(const std::string& name, const std::string& items, ULONG* eaten,
                          LPITEMIDLIST* list) {
    *list = AllocateList(items);
    if (*list == nullptr) {
        return E_OUTOFMEMORY;
    }
    if (eaten) {
        *eaten = static_cast<ULONG>(name.size());
    }
    return S_OK;
}

HRESULT NamespaceFolder::BindToObject(LPCITEMIDLIST list, IBindCtx* bindContext, const IID& iid,
                                      void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    const auto item = ChildItem(list);
    if (!item) {
        return E_INVALIDARG;
    }
    const ComPtr<NamespaceFolder> child = BindChild(*item);
    if (!child) {
        return E_INVALIDARG;
    }
    LPCITEMIDLIST rest = NextItem(list);
    if (HasItems(rest)) {
        return child->BindToObject(rest, bindContext, iid, object);
    }
    return child->QueryInterface(iid, object);
}

HRESULT NamespaceFolder::BindToStorage(LPCITEMIDLIST, IBindCtx*, const IID&, void** object) {
    if (object) {
        *object = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT NamespaceFolder::CompareIDs(std::intptr_t lParam, LPCITEMIDLIST first,
                                    LPCITEMIDLIST second) {
    if (first == nullptr || second == nullptr) {
        return E_INVALIDARG;
    }
    if (!HasItems(first) || !HasItems(second)) {
        return MakeSuccessCode(static_cast<std::int16_t>(HasItems(first) - HasItems(second)));
    }
    const auto a = ChildItem(first);
    const auto b = ChildItem(second);
    if (!a || !b) {
        return E_INVALIDARG;
    }
    // An item equals itself: the same bytes need no order keys.
    if (!std::ranges::equal(FirstItem(first), FirstItem(second))) {
        if (const int order = CompareItems(*a, *b, static_cast<int>(lParam & 0xFFFF))) {
            return MakeSuccessCode(static_cast<std::int16_t>(order));
        }
    }
    LPCITEMIDLIST restA = NextItem(first);
    LPCITEMIDLIST restB = NextItem(second);
    if (!HasItems(restA) || !HasItems(restB)) {
        return MakeSuccessCode(static_cast<std::int16_t>(HasItems(restA) - HasItems(restB)));
    }
    const ComPtr<NamespaceFolder> child = BindChild(*a);
    return child ? child->CompareIDs(lParam, restA, restB) : E_INVALIDARG;
}

HRESULT NamespaceFolder::CreateViewObject(HWND, const IID&, void** object) {
    if (object) {
        *object = nullptr;
    }
    return E_NOINTERFACE;
}

HRESULT NamespaceFolder::GetAttributesOf(ULONG count, const LPCITEMIDLIST* items,
                                         SFGAOF* attributes) {
    if (attributes == nullptr || (count > 0 && items == nullptr)) {
        return E_POINTER;
    }
    if (*attributes & SFGAO_VALIDATE) {
        Validate();
    }
    SFGAOF common = ~SFGAOF{0};
    for (ULONG i = 0; i < count; ++i) {
        const auto item = ChildItem(items[i]);
        if (!item) {
            return E_INVALIDARG;
        }
        common &= ItemAttributes(*item);
    }
    *attributes &= common;
    return S_OK;
}

// Our context menu for items with a file-system path (entries, Home, volumes); virtual items
// have none.
HRESULT NamespaceFolder::GetUIObjectOf(HWND owner, ULONG count, const LPCITEMIDLIST* items,
                                       const IID& iid, ULONG*, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!(iid == IID_IContextMenu)) {
        return E_NOTIMPL;
    }
    if (count == 0 || items == nullptr) {
        return E_INVALIDARG;
    }
    std::vector<MenuTarget> targets;
    for (ULONG i = 0; i < count; ++i) {
        const auto item = ChildItem(items[i]);
        if (!item || HasItems(NextItem(items[i]))) {
            return E_INVALIDARG;
        }
        std::string path = ItemPath(*item, Path());
        if (path.empty()) {
            return E_NOTIMPL;
        }
        targets.push_back({std::move(path), ItemAttributes(*item)});
    }
    return MakeCom<FileContextMenu>(owner, std::move(targets))->QueryInterface(iid, object);
}

HRESULT NamespaceFolder::GetDisplayNameOf(LPCITEMIDLIST list, SHGDNF flags, STRRET* name) {
    if (name == nullptr) {
        return E_POINTER;
    }
    const auto item = ChildItem(list);
    if (!item) {
        return E_INVALIDARG;
    }
    LPCITEMIDLIST rest = NextItem(list);
    if (HasItems(rest)) {
        const ComPtr<NamespaceFolder> child = BindChild(*item);
        return child ? child->GetDisplayNameOf(rest, flags, name) : E_INVALIDARG;
    }
    name->uType = STRRET_CSTR;
    name->cStr = ItemDisplayName(*item, flags, Path());
    return S_OK;
}

// Renames an entry in place, never over a sibling; a refusal is shown to the user and leaves
// the entry as it was. The flags change nothing: the name is always the raw in-folder name.
HRESULT NamespaceFolder::SetNameOf(HWND, LPCITEMIDLIST list, const std::string& name, SHGDNF,
                                   LPITEMIDLIST* newItem) {
    if (newItem) {
        *newItem = nullptr;
    }
    const auto item = ChildItem(list);
    const auto* entry = item ? std::get_if<EntryItem>(&*item) : nullptr;
    if (entry == nullptr || Path().empty() || HasItems(NextItem(list))) {
        return E_INVALIDARG;
    }
    const auto result = RenameEntry(JoinPath(Path(), entry->name), name);
    if (!result.Done()) {
        Messages().Show(MessageKind::Error, result.message, MessageButtons::Ok);
        return result.error != 0 ? HResultFromErrno(result.error) : E_INVALIDARG;
    }
    if (newItem) {
        const std::string path = JoinPath(Path(), name);
        const EntryResult renamed = StatEntry(AT_FDCWD, path.c_str(), name);
        *newItem = renamed.error == 0 ? AllocateList(renamed.item) : nullptr;
    }
    return S_OK;
}

} // namespace quarn

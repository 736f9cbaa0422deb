#pragma once

#include "namespace/ItemCodec.h"
#include "namespace/ShellFolder.h"

#include <optional>
#include <string>

namespace quarn {

// What every folder of our namespace shares: binding and comparing through several levels,
// attributes and names answered from the items' own bytes, the context menu of items with a
// file-system path, rename in place, and E_NOTIMPL for what comes later (data objects, drop
// targets).
class NamespaceFolder : public ComObject<IShellFolder> {
public:
    HRESULT QueryInterface(const IID& iid, void** object) override;
    HRESULT ParseDisplayName(HWND owner, IBindCtx* bindContext, const std::string& name,
                             ULONG* eaten, LPITEMIDLIST* list, SFGAOF* attributes) override;
    HRESULT BindToObject(LPCITEMIDLIST list, IBindCtx* bindContext, const IID& iid,
                         void** object) override;
    HRESULT BindToStorage(LPCITEMIDLIST list, IBindCtx* bindContext, const IID& iid,
                          void** object) override;
    HRESULT CompareIDs(std::intptr_t lParam, LPCITEMIDLIST first, LPCITEMIDLIST second) override;
    HRESULT CreateViewObject(HWND owner, const IID& iid, void** object) override;
    HRESULT GetAttributesOf(ULONG count, const LPCITEMIDLIST* items, SFGAOF* attributes) override;
    HRESULT GetUIObjectOf(HWND owner, ULONG count, const LPCITEMIDLIST* items, const IID& iid,
                          ULONG* reserved, void** object) override;
    HRESULT GetDisplayNameOf(LPCITEMIDLIST item, SHGDNF flags, STRRET* name) override;
    HRESULT SetNameOf(HWND owner, LPCITEMIDLIST item, const std::string& name, SHGDNF flags,
                      LPITEMIDLIST* newItem) override;

protected:
    // The folder's file-system path; "" for a virtual folder.
    virtual std::string Path() const = 0;
    virtual bool IsChild(const Item& item) const = 0;
    // The folder of a child; none when the child is no folder.
    virtual ComPtr<NamespaceFolder> BindChild(const Item& child) const = 0;
    // Asked with SFGAO_VALIDATE: bring what the folder has read up to date.
    virtual void Validate() {}

    // The first item of a list when it is a child of this folder.
    std::optional<Item> ChildItem(LPCITEMIDLIST list) const;
};

// Parses a relative path below a file-system folder into the items of its entries (each one
// read with statx); attributes, when asked, are those of the last.
HRESULT ParseEntries(const std::string& folderPath, const std::string& relativePath,
                     std::string& items, SFGAOF* attributes);

// Answers a parse: the list from item bytes, the characters eaten.
HRESULT HandOutParsedList(const std::string& name, const std::string& items, ULONG* eaten,
                          LPITEMIDLIST* list);

} // namespace quarn

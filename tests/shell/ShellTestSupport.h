#pragma once

#include "namespace/Malloc.h"
#include "namespace/ShellFolder.h"
#include "shell/idlist/ShellItemRoutines.h"

#include <memory>
#include <string>
#include <vector>

class QMimeData;

namespace quarn::test {

// A list made of items whose bytes are the given payloads (each prefixed with its count).
PidlPtr MakeList(const std::vector<std::string>& payloads);
// The list's bytes, terminator included.
std::string ListText(LPCITEMIDLIST list);
PidlPtr ParsePath(const std::string& path);
PidlPtr SpecialFolder(int csidl);

// Items given by path, all in one folder: each one's folder and its one-level list.
struct ItemsOfOneFolder {
    std::vector<TSCParentFolder> parts;
    std::vector<LPCITEMIDLIST> children; // into parts

    IShellFolder* Folder() const { return parts.front().Folder.get(); }
    LPCITEMIDLIST FolderPidl() const { return parts.front().ParentPidl.get(); }
};
ItemsOfOneFolder ItemsByPath(const std::vector<std::string>& paths);
// Our own drag data for items given by path, all in one folder.
std::unique_ptr<QMimeData> DragDataOf(const std::vector<std::string>& paths);

// An allocator that counts what it hands out and frees, and can refuse.
class CountingAllocator final : public IMalloc {
public:
    HRESULT QueryInterface(const IID&, void** object) override;
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    void* Alloc(std::size_t size) override;
    void* Realloc(void*, std::size_t) override { return nullptr; }
    void Free(void* block) override;
    std::size_t GetSize(void*) override { return 0; }
    int DidAlloc(void*) override { return -1; }
    void HeapMinimize() override {}

    bool refuse = false;
    int allocated = 0;
    int freed = 0;
};

// A folder with every method failing (E_NOTIMPL) unless a test overrides it.
class FakeFolder : public ComObject<IShellFolder2> {
public:
    HRESULT QueryInterface(const IID& iid, void** object) override;
    HRESULT ParseDisplayName(HWND, IBindCtx*, const std::string&, ULONG*, LPITEMIDLIST*,
                             SFGAOF*) override {
        return E_NOTIMPL;
    }
    HRESULT EnumObjects(HWND, SHCONTF, IEnumIDList**) override { return E_NOTIMPL; }
    HRESULT BindToObject(LPCITEMIDLIST, IBindCtx*, const IID&, void**) override {
        return E_NOTIMPL;
    }
    HRESULT BindToStorage(LPCITEMIDLIST, IBindCtx*, const IID&, void**) override {
        return E_NOTIMPL;
    }
    HRESULT CompareIDs(std::intptr_t, LPCITEMIDLIST, LPCITEMIDLIST) override { return E_NOTIMPL; }
    HRESULT CreateViewObject(HWND, const IID& iid, void** object) override;
    HRESULT GetAttributesOf(ULONG, const LPCITEMIDLIST*, SFGAOF*) override { return E_NOTIMPL; }
    HRESULT GetUIObjectOf(HWND, ULONG, const LPCITEMIDLIST*, const IID&, ULONG*, void**) override {
        return E_NOTIMPL;
    }
    HRESULT GetDisplayNameOf(LPCITEMIDLIST, SHGDNF, STRRET*) override { return E_NOTIMPL; }
    HRESULT SetNameOf(HWND, LPCITEMIDLIST, const std::string&, SHGDNF, LPITEMIDLIST*) override {
        return E_NOTIMPL;
    }
    HRESULT GetDefaultColumnState(ULONG column, std::uint32_t* state) override;
    HRESULT GetDetailsOf(LPCITEMIDLIST item, ULONG column, SHELLDETAILS* details) override;

    // What the fake offers.
    bool answersFolder2 = true;
    std::vector<std::uint32_t> columnStates; // GetDefaultColumnState; past the end it fails
    int columnCount = 0;                     // GetDetailsOf succeeds below it
    IShellDetails* ownDetails = nullptr;     // answered by QueryInterface
    IShellDetails* viewDetails = nullptr;    // answered by CreateViewObject
    int references() {
        AddRef();
        return static_cast<int>(Release());
    }
};

// Hands out one item per payload, in order, then answers end.
class ScriptedListing final : public ComObject<IEnumIDList> {
public:
    ScriptedListing(std::vector<std::string> payloads, HRESULT end)
        : payloads_(std::move(payloads)), end_(end) {}
    HRESULT QueryInterface(const IID& iid, void** object) override {
        return QueryOwnInterface<IEnumIDList>(this, iid, object);
    }
    HRESULT Next(ULONG count, LPITEMIDLIST* items, ULONG* fetched) override;
    HRESULT Skip(ULONG) override { return E_NOTIMPL; }
    HRESULT Reset() override { return E_NOTIMPL; }
    HRESULT Clone(IEnumIDList**) override { return E_NOTIMPL; }

    int calls = 0; // of Next

private:
    std::vector<std::string> payloads_;
    std::size_t next_ = 0;
    HRESULT end_;
};

// Details that only count their references.
class FakeDetails final : public ComObject<IShellDetails> {
public:
    HRESULT QueryInterface(const IID& iid, void** object) override {
        return QueryOwnInterface<IShellDetails>(this, iid, object);
    }
    HRESULT GetDetailsOf(LPCITEMIDLIST, ULONG, SHELLDETAILS*) override { return S_OK; }
    HRESULT ColumnClick(ULONG) override { return S_OK; }
};

} // namespace quarn::test

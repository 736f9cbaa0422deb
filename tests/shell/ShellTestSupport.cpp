#include "ShellTestSupport.h"

#include "shell/dragdrop/DragMimeData.h"
#include "shell/dragdrop/ShellItemsDataObject.h"
#include "shell/idlist/PidlRoutines.h"
#include "shell/idlist/ShellFolders.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace quarn::test {

PidlPtr MakeList(const std::vector<std::string>& payloads) {
    std::string bytes;
    for (const auto& payload : payloads) {
        const std::size_t size = payload.size() + 2;
        bytes += static_cast<char>(size & 0xFF);
        bytes += static_cast<char>(size >> 8);
        bytes += payload;
    }
    return PidlPtr(AllocateList(bytes));
}

std::string ListText(LPCITEMIDLIST list) {
    return std::string(reinterpret_cast<const char*>(list), PidlSize(list));
}

PidlPtr ParsePath(const std::string& path) {
    LPITEMIDLIST list = nullptr;
    EXPECT_EQ(PathToPidl(path, list), S_OK) << path;
    return PidlPtr(list);
}

PidlPtr SpecialFolder(int csidl) {
    LPITEMIDLIST list = nullptr;
    EXPECT_EQ(GetSpecialFolderPidl(nullptr, csidl, list), S_OK) << csidl;
    return PidlPtr(list);
}

HRESULT CountingAllocator::QueryInterface(const IID&, void** object) {
    *object = this;
    return S_OK;
}

void* CountingAllocator::Alloc(std::size_t size) {
    if (refuse) {
        return nullptr;
    }
    ++allocated;
    return std::malloc(size);
}

void CountingAllocator::Free(void* block) {
    if (block) {
        ++freed;
    }
    std::free(block);
}

HRESULT FakeFolder::QueryInterface(const IID& iid, void** object) {
    *object = nullptr;
    if (iid == IUnknown::Iid || iid == IShellFolder::Iid ||
        (answersFolder2 && iid == IShellFolder2::Iid)) {
        *object = static_cast<IShellFolder2*>(this);
        AddRef();
        return S_OK;
    }
    if (iid == IShellDetails::Iid && ownDetails) {
        *object = ownDetails;
        ownDetails->AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT FakeFolder::CreateViewObject(HWND, const IID& iid, void** object) {
    *object = nullptr;
    if (iid == IShellDetails::Iid && viewDetails) {
        *object = viewDetails;
        viewDetails->AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT FakeFolder::GetDefaultColumnState(ULONG column, std::uint32_t* state) {
    if (column >= columnStates.size()) {
        return E_FAIL;
    }
    *state = columnStates[column];
    return S_OK;
}

HRESULT FakeFolder::GetDetailsOf(LPCITEMIDLIST, ULONG column, SHELLDETAILS* details) {
    if (static_cast<int>(column) >= columnCount) {
        return E_FAIL;
    }
    details->str.uType = STRRET_CSTR;
    details->str.cStr = "column " + std::to_string(column);
    return S_OK;
}

ItemsOfOneFolder ItemsByPath(const std::vector<std::string>& paths) {
    ItemsOfOneFolder items;
    items.parts.reserve(paths.size());
    for (const std::string& path : paths) {
        items.parts.push_back(GetParentFolder(ParsePath(path).get()));
        items.children.push_back(items.parts.back().ChildPidl.get());
    }
    return items;
}

std::unique_ptr<QMimeData> DragDataOf(const std::vector<std::string>& paths) {
    const ItemsOfOneFolder items = ItemsByPath(paths);
    const ComPtr<IDataObject> data =
        CreateItemsDataObject(items.Folder(), items.FolderPidl(), items.children);
    return std::make_unique<TSCDataObjectMimeData>(data.get());
}

HRESULT ScriptedListing::Next(ULONG, LPITEMIDLIST* items, ULONG* fetched) {
    ++calls;
    *fetched = 0;
    if (next_ >= payloads_.size()) {
        return end_;
    }
    *items = MakeList({payloads_[next_++]}).release();
    *fetched = 1;
    return S_OK;
}

} // namespace quarn::test

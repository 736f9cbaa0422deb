#include "shell/tree/ShellTreeData.h"

#include "shell/common/ShellErrors.h"
#include "shell/idlist/IdListArray.h"
#include "shell/idlist/PidlRoutines.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/idlist/ShellItemRoutines.h"

namespace quarn {

void TSCShTreeData::Init(TSCShTreeData* parentData, LPCITEMIDLIST pidl) {
    parentData_ = parentData;
    if (parentData) {
        relativePidl_.reset(DuplicatePidl(nullptr, pidl));
        absolutePidl_.reset();
        return;
    }
    TSCIdListArray levels(pidl);
    const int count = levels.GetCount();
    relativePidl_.reset(DuplicatePidl(nullptr, count > 0 ? levels.GetItem(count - 1) : pidl));
    absolutePidl_.reset(DuplicatePidl(nullptr, pidl));
}

LPCITEMIDLIST TSCShTreeData::GetAbsolutePidl() {
    if (!absolutePidl_) {
        absolutePidl_.reset(
            parentData_ ? JoinPidls(nullptr, parentData_->GetAbsolutePidl(), relativePidl_.get())
                        : DuplicatePidl(nullptr, relativePidl_.get()));
    }
    return absolutePidl_.get();
}

std::string TSCShTreeData::GetPath() {
    return PidlToPath(GetAbsolutePidl());
}

IShellFolder* TSCShTreeData::GetParentFolder() {
    if (parentData_) {
        return parentData_->GetFolder();
    }
    rootParentFolder_.reset();
    TSCParentFolder split = quarn::GetParentFolder(GetAbsolutePidl());
    if (Succeeded(split.Result)) {
        rootParentFolder_ = std::move(split.Folder);
    }
    return rootParentFolder_.get();
}

IShellFolder* TSCShTreeData::GetFolder() {
    if (folder_) {
        return folder_.get();
    }
    if (HasItems(GetAbsolutePidl())) {
        IShellFolder* parent = GetParentFolder();
        void* object = nullptr;
        if (parent && Succeeded(parent->BindToObject(relativePidl_.get(), nullptr, IID_IShellFolder,
                                                     &object))) {
            folder_ = ComPtr<IShellFolder>::Attach(static_cast<IShellFolder*>(object));
        }
        return folder_.get();
    }
    OleCheck(GetDesktopFolder(folder_));
    return folder_.get();
}

bool TSCShTreeData::CanRename() {
    if (parentData_ == nullptr || !HasItems(GetAbsolutePidl())) {
        return false;
    }
    IShellFolder* parent = GetParentFolder();
    LPCITEMIDLIST item = relativePidl_.get();
    SFGAOF attributes = 0x40000177;
    return parent && Succeeded(parent->GetAttributesOf(1, &item, &attributes)) &&
           (attributes & SFGAO_CANRENAME);
}

void TSCShTreeData::SetRelativePidl(LPCITEMIDLIST pidl) {
    absolutePidl_.reset();
    folder_.reset();
    relativePidl_.reset(DuplicatePidl(nullptr, pidl));
    GetAbsolutePidl();
}

void TSCShTreeData::ResetCache() {
    absolutePidl_.reset();
    folder_.reset();
}

} // namespace quarn

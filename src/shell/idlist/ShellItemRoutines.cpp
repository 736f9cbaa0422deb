#include "shell/idlist/ShellItemRoutines.h"

#include "shell/idlist/IdListArray.h"
#include "shell/idlist/PidlRoutines.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/idlist/ShellNames.h"

#include <stdexcept>

namespace quarn {

std::string GetChildDisplayName(IShellFolder* folder, LPCITEMIDLIST child, SHGDNF flags) {
    STRRET name;
    name.uType = STRRET_CSTR;
    if (folder == nullptr || Failed(folder->GetDisplayNameOf(child, flags, &name))) {
        return {};
    }
    std::string text = StrRetToString(child, name);
    FreeStrRet(name);
    return text;
}

namespace {

TSCParentFolder SplitList(LPCITEMIDLIST absolutePidl) {
    TSCParentFolder split;
    TSCIdListArray levels(absolutePidl);
    const int count = levels.GetCount();
    split.ParentPidl.reset(DuplicatePidl(nullptr, levels.GetPrefix(1)));
    split.ChildPidl.reset(DuplicatePidl(nullptr, levels.GetItem(count - 1)));
    split.Result = GetPidlFolder(split.ParentPidl.get(), split.Folder);
    return split;
}

// The desktop's own folder in the file system holds the desktop.
TSCParentFolder SplitDesktop() {
    LPITEMIDLIST desktop = nullptr;
    const HRESULT hr = PathToPidl(GetSpecialFolderPath(nullptr, CSIDL_DESKTOP), desktop);
    const PidlPtr owned(desktop);
    if (Failed(hr)) {
        TSCParentFolder failed;
        failed.Result = hr;
        return failed;
    }
    return SplitList(desktop);
}

} // namespace

TSCParentFolder GetParentFolder(LPCITEMIDLIST absolutePidl) {
    const std::size_t count = ItemCount(absolutePidl);
    if (count == 0) {
        return SplitDesktop();
    }
    if (count == 1) {
        TSCParentFolder split;
        split.Result = GetDesktopFolder(split.Folder);
        split.ChildPidl.reset(DuplicatePidl(nullptr, absolutePidl));
        return split;
    }
    return SplitList(absolutePidl);
}

void RaiseOSError(HRESULT code) {
    throw std::runtime_error(HResultMessage(code));
}

} // namespace quarn

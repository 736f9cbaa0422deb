#pragma once

// Routines that the folder tree and the file list share: child names, the split of an
// absolute list into its parent folder and its last item, and the system error they raise.

#include "namespace/ShellFolder.h"

#include <string>

namespace quarn {

// The name of a child of folder; "" when the folder gives none.
std::string GetChildDisplayName(IShellFolder* folder, LPCITEMIDLIST child, SHGDNF flags);

// The folder that holds the last item of an absolute list, that folder's own list (none for
// the desktop) and the last item as a one-level list.
struct TSCParentFolder {
    HRESULT Result = E_FAIL;
    ComPtr<IShellFolder> Folder;
    PidlPtr ParentPidl;
    PidlPtr ChildPidl;
};
TSCParentFolder GetParentFolder(LPCITEMIDLIST absolutePidl);

// Raises the general error with the system's text for code.
[[noreturn]] void RaiseOSError(HRESULT code);

} // namespace quarn

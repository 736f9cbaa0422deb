#pragma once

#include "shell/dragdrop/ShellDataObject.h"

#include <vector>

namespace quarn {

class TSCCustomShellList;
class TSCShellTreeNode;

// The data object of a dragged tree node (one that has a parent; the root is never dragged):
// the node's item under its parent's list, and its parsing name as the path.
class TDataObject_shtv : public TSCShellDataObject {
public:
    explicit TDataObject_shtv(TSCShellTreeNode& node);
};

// The data object of the list's selected shell items, in list order; no format when none.
class TDataObject_shlv : public TSCShellDataObject {
public:
    explicit TDataObject_shlv(TSCCustomShellList& list);
};

// The data object of children of one folder: the ID-list block and the paths of the
// children's parsing names in that folder.
ComPtr<IDataObject> CreateItemsDataObject(IShellFolder* folder, LPCITEMIDLIST folderPidl,
                                          const std::vector<LPCITEMIDLIST>& children);

} // namespace quarn

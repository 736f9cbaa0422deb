// The Send To commands of the folder tree and the file list.
#include "shell/dragdrop/ShellItemsDataObject.h"
#include "shell/list/ShellList.h"
#include "shell/sendto/DropDataObject.h"
#include "shell/sendto/SendToList.h"
#include "shell/tree/ShellTree.h"

namespace quarn {

void TSCCustomShellTree::SendToMenuCommand(TSCShellTreeNode* node, int index) {
    const ComPtr<IDataObject> data = MakeCom<TDataObject_shtv>(*node);
    DropDataObject(SendToList().At(index).name, data.get());
}

void TSCCustomShellList::SendToMenuCommand(int index) {
    const ComPtr<IDataObject> data = MakeCom<TDataObject_shlv>(*this);
    DropDataObject(SendToList().At(index).name, data.get());
}

} // namespace quarn

// The Send To commands of the folder tree and the file list.
#include "shell/DropDataObject.h"
#include "shell/SendToList.h"
#include "shell/ShellItemsDataObject.h"
#include "shell/ShellList.h"
#include "shell/ShellTree.h"

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

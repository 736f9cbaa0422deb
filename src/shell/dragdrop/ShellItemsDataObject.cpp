#include "shell/dragdrop/ShellItemsDataObject.h"

#include "shell/dragdrop/ShellDataBlocks.h"
#include "shell/idlist/ShellNames.h"
#include "shell/list/ShellList.h"
#include "shell/list/ShellListData.h"
#include "shell/tree/ShellTreeData.h"
#include "shell/tree/ShellTreeModel.h"

namespace quarn {

namespace {

TSCDataBlocks BlocksOf(IShellFolder* folder, LPCITEMIDLIST folderPidl,
                       const std::vector<LPCITEMIDLIST>& children) {
    if (children.empty()) {
        return {};
    }
    std::vector<std::string> paths;
    for (const LPCITEMIDLIST child : children) {
        paths.push_back(GetPidlDisplayName(folder, child, ParsingDisplayName));
    }
    return {BuildShellIdListBlock(folderPidl, children), BuildHDropBlock(paths)};
}

TSCDataBlocks NodeBlocks(TSCShellTreeNode& node) {
    TSCShTreeData& data = *node.Data();
    TSCShTreeData& parent = *data.ParentData();
    return BlocksOf(parent.GetFolder(), parent.GetAbsolutePidl(), {data.RelativePidl()});
}

TSCDataBlocks SelectionBlocks(TSCCustomShellList& list) {
    std::vector<LPCITEMIDLIST> children;
    for (const int index : list.SelectedItems()) {
        if (list.IsShellItem(index)) {
            children.push_back(list.GetItemData(index)->RelativePidl());
        }
    }
    return BlocksOf(list.CurrentFolder(), list.Folder().GetPidl(), children);
}

} // namespace

TDataObject_shtv::TDataObject_shtv(TSCShellTreeNode& node) : TSCShellDataObject(NodeBlocks(node)) {
}

TDataObject_shlv::TDataObject_shlv(TSCCustomShellList& list)
    : TSCShellDataObject(SelectionBlocks(list)) {
}

ComPtr<IDataObject> CreateItemsDataObject(IShellFolder* folder, LPCITEMIDLIST folderPidl,
                                          const std::vector<LPCITEMIDLIST>& children) {
    return MakeCom<TSCShellDataObject>(BlocksOf(folder, folderPidl, children));
}

} // namespace quarn

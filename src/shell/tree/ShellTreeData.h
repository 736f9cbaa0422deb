#pragma once

#include "namespace/ShellFolder.h"

#include <string>

namespace quarn {

class TSCCustomShellTree;

// What one node of the folder tree knows of the namespace: its item relative to its parent
// folder, and, built on first use and kept, its absolute list and its own folder.
class TSCShTreeData {
public:
    explicit TSCShTreeData(TSCCustomShellTree* tree) : Tree(tree) {}
    TSCShTreeData(const TSCShTreeData&) = delete;
    TSCShTreeData& operator=(const TSCShTreeData&) = delete;

    // With a parent, pidl is the node's item relative to the parent's folder; without one
    // (the root) it is the root's absolute list.
    void Init(TSCShTreeData* parentData, LPCITEMIDLIST pidl);

    LPCITEMIDLIST GetAbsolutePidl();
    LPCITEMIDLIST RelativePidl() const { return relativePidl_.get(); }
    TSCShTreeData* ParentData() const { return parentData_; }
    // "" for virtual items.
    std::string GetPath();
    // The folder that holds the node; none when it cannot be had.
    IShellFolder* GetParentFolder();
    // The node's own folder; none when it cannot be bound.
    IShellFolder* GetFolder();
    // False for the desktop, the root and items the folder will not rename.
    bool CanRename();
    // After a rename: the new item; the absolute list is rebuilt at once.
    void SetRelativePidl(LPCITEMIDLIST pidl);
    // Drops the absolute list and the folder; both are built again on next use.
    void ResetCache();
    // The root's folder, as the tree enumerated it.
    void SetFolder(IShellFolder* folder) { folder_ = ComPtr<IShellFolder>(folder); }

    TSCCustomShellTree* const Tree;

private:
    TSCShTreeData* parentData_ = nullptr;
    PidlPtr relativePidl_;
    PidlPtr absolutePidl_;
    ComPtr<IShellFolder> folder_;
    ComPtr<IShellFolder> rootParentFolder_;
};

} // namespace quarn

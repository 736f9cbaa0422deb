#include "shell/dragdrop/DroppedItems.h"

#include "platform/PathLimits.h"
#include "shell/common/ShellErrors.h"
#include "shell/dragdrop/ShellDataBlocks.h"
#include "shell/dragdrop/ShellDataObject.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/idlist/ShellNames.h"

namespace quarn {

namespace {

constexpr DWORD AllEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

LPCITEMIDLIST AsList(const std::string& bytes) {
    return reinterpret_cast<LPCITEMIDLIST>(bytes.data());
}

// Each child's parsing name in the parent folder, bound once. A virtual item, or a path that
// no entry can have, refuses them all.
std::vector<std::string> PathsOf(const ShellIdListItems& items) {
    ComPtr<IShellFolder> folder;
    if (Failed(GetPidlFolder(AsList(items.parent), folder))) {
        return {};
    }
    std::vector<std::string> paths;
    for (const std::string& child : items.children) {
        std::string path = GetPidlDisplayName(folder.get(), AsList(child), ParsingDisplayName);
        if (!path.starts_with('/') || !WithinPathLimits(path)) {
            return {};
        }
        paths.push_back(std::move(path));
    }
    return paths;
}

} // namespace

DWORD ReadShellIdList(IDataObject* data) {
    const auto block = ReadDataBlock(data, ShellIdListFormat());
    if (!block) {
        return AllEffects;
    }
    const auto items = ParseShellIdListBlock(*block);
    if (!items) {
        return DROPEFFECT_NONE;
    }
    ComPtr<IShellFolder> folder;
    OleCheck(GetPidlFolder(AsList(items->parent), folder));
    std::vector<LPCITEMIDLIST> children;
    for (const std::string& child : items->children) {
        children.push_back(AsList(child));
    }
    SFGAOF attributes = AllEffects;
    OleCheck(
        folder->GetAttributesOf(static_cast<ULONG>(children.size()), children.data(), &attributes));
    return AllEffects & attributes;
}

std::vector<std::string> DroppedPaths(IDataObject* data) {
    if (const auto block = ReadDataBlock(data, ShellIdListFormat())) {
        if (const auto items = ParseShellIdListBlock(*block)) {
            if (auto paths = PathsOf(*items); !paths.empty()) {
                return paths;
            }
        }
    }
    if (const auto block = ReadDataBlock(data, CF_HDROP)) {
        if (auto paths = ParseHDropBlock(*block)) {
            return std::move(*paths);
        }
    }
    return {};
}

} // namespace quarn

#pragma once

#include "namespace/ItemIdList.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarn {

// The "Shell IDList Array" block: the count, the parent's offset, each child's offset, the
// parent's absolute list (the desktop's empty list when parent is nil), then each child's
// relative list, all packed; integers are 32-bit little-endian.
std::string BuildShellIdListBlock(LPCITEMIDLIST parent, const std::vector<LPCITEMIDLIST>& children);

// The lists of a "Shell IDList Array" block, each with its terminator.
struct ShellIdListItems {
    std::string parent;
    std::vector<std::string> children;
};
// Nothing when the block is not one: too short for its count, an offset outside it, a list
// that is not terminated inside it, or one deeper than any list of a path within PATH_MAX.
// Blocks from other programs are read only this way.
std::optional<ShellIdListItems> ParseShellIdListBlock(std::string_view block);

// The CF_HDROP block: a 20-byte header (the paths' offset 20, no point, 8-bit characters),
// each path with its zero byte, then one more zero byte; sized exactly for the paths.
std::string BuildHDropBlock(const std::vector<std::string>& paths);
// Nothing when the block is not one of 8-bit paths that ends inside it, or when one of its
// paths is longer than PATH_MAX or holds a name longer than NAME_MAX.
std::optional<std::vector<std::string>> ParseHDropBlock(std::string_view block);

} // namespace quarn

#pragma once

#include "namespace/Namespace.h"

#include <string>
#include <vector>

namespace quarn::test {

ComPtr<IShellFolder> Desktop();
// The absolute list of a path; fails the test when it does not parse.
PidlPtr Parse(const std::string& path);
HRESULT TryParse(const std::string& path, PidlPtr& list);
// The folder of an absolute list (the desktop for the empty list).
ComPtr<IShellFolder> BindFolder(LPCITEMIDLIST absolute);
ComPtr<IShellFolder> BindPath(const std::string& path);

std::vector<PidlPtr> Enumerate(IShellFolder* folder, SHCONTF flags);
std::string DisplayName(IShellFolder* folder, LPCITEMIDLIST item, SHGDNF flags);
std::vector<std::string> DisplayNames(IShellFolder* folder, const std::vector<PidlPtr>& items,
                                      SHGDNF flags = SHGDN_INFOLDER);
SFGAOF Attributes(IShellFolder* folder, LPCITEMIDLIST item, SFGAOF mask = ~SFGAOF{0});
// The child of folder named name (in-folder name); fails the test when missing.
PidlPtr Child(IShellFolder* folder, const std::string& name, SHCONTF flags);
// The last level of an absolute list, as a one-item list.
PidlPtr LastItem(LPCITEMIDLIST absolute);
// The items of a list, one string of bytes each.
std::vector<std::string> Levels(LPCITEMIDLIST list);

inline constexpr SHCONTF AllItems = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN;

} // namespace quarn::test

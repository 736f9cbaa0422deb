#pragma once

#include "namespace/ShellFolder.h"

#include <string>

namespace quarn {

// Which items the main window's tree and list show, beyond the controls' own rules.

// The tree never shows the Trash.
bool TreeShowsItem(LPCITEMIDLIST parentAbsolutePidl, LPCITEMIDLIST itemRelativePidl);

// The list shows the files a command can take: plain files and ".zip" archives (which are
// files here), never folders, links or virtual items (those whose parsing name begins with
// "::"; a file named "a::b.txt" is shown).
bool ListShowsItem(SFGAOF attributes, const std::string& parsingName);

} // namespace quarn

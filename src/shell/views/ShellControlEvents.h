#pragma once

// The events of the folder tree and the file list that the program handles.

#include "namespace/ShellFolder.h"

#include <functional>

class QWidget;

namespace quarn {

// Before an item becomes a node or a row: allowAdd comes preset true; false leaves it out.
using TSCShAddItemEvent = std::function<void(
    QWidget* sender, IShellFolder* parentFolder, LPCITEMIDLIST parentAbsolutePidl,
    LPCITEMIDLIST itemRelativePidl, SFGAOF attributes, bool& allowAdd)>;

using TNotifyEvent = std::function<void(QWidget* sender)>;

} // namespace quarn

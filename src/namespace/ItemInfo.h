#pragma once

#include "namespace/ItemCodec.h"
#include "namespace/ShellConstants.h"

#include <string>

namespace quarn {

// What every item answers from its own bytes: no file is touched.

SFGAOF ItemAttributes(const Item& item);
SFGAOF DesktopAttributes();

// folderPath: the file-system path of the folder that holds the item ("" for virtual
// folders); a full parsing name of an entry is built from it.
std::string ItemDisplayName(const Item& item, SHGDNF flags, const std::string& folderPath);

// The file-system path of an item in that folder; "" for virtual items.
std::string ItemPath(const Item& item, const std::string& folderPath);

// Names of the desktop itself.
std::string DesktopDisplayName(SHGDNF flags);

// Icon names of the freedesktop icon theme.
std::string ItemIconName(const Item& item, bool open);
std::string DesktopIconName();

// Type names: a type registered for the extension in HKEY_CLASSES_ROOT first, else the
// MIME type's comment.
std::string ItemTypeName(const Item& item);
std::string FileTypeName(std::string_view fileName, bool folder);

// Order of two items of one folder by a column, as their order keys compare
// (namespace/ItemOrderKey.h).
int CompareItems(const Item& first, const Item& second, int column);

} // namespace quarn

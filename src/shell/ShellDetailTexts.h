#pragma once

// The texts of the file list's own detail columns: size in kilobytes, type name and
// modification time, each read for one item when a view first shows it.

#include "namespace/ShellFolder.h"

#include <cstdint>
#include <string>

namespace quarn {

// Whole kilobytes, rounded up, with the locale's group separators: "1,500KB".
std::string FormatSizeKB(std::uint64_t size);

// A path equal to the mount point of a volume.
bool IsDriveRoot(const std::string& path);
// A path in the file system below a volume's mount point.
bool IsBeyondDriveRoot(const std::string& path);

// The size (files only) and modification texts of an item, looked up by its exact path;
// both empty for virtual items, drive roots and entries that are gone.
void GetFileSizeAndDateTexts(LPCITEMIDLIST absolutePidl, std::string& sizeText,
                             std::string& modifiedText);
// "System Folder" for items outside the file system, else the type name.
std::string GetItemTypeText(LPCITEMIDLIST absolutePidl, SFGAOF attributes);

struct TSCDetailTexts {
    std::string Size;
    std::string Type;
    std::string Modified;
};
TSCDetailTexts GetItemDetailTexts(LPCITEMIDLIST absolutePidl, SFGAOF attributes);

} // namespace quarn

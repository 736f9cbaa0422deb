#pragma once

// The texts of the list's own detail columns: size in kilobytes, type name and modification
// time of an item, read fresh from the file system (statx of the item's exact path).

#include "namespace/FileTime.h"
#include "namespace/ShellFolder.h"

#include <QDateTime>
#include <cstdint>
#include <string>

namespace quarn {

// Whole kilobytes, rounded up, grouped as the user's locale groups digits: "1,500KB".
std::string FormatSizeKB(std::uint64_t size);

// Local time; invalid for a time no calendar of QDateTime holds.
QDateTime FileTimeToLocalDateTime(FileTime time);

// The user's short date and short time formats; empty for an invalid time.
std::string FormatModifiedTime(const QDateTime& time);

// False for "" and for a volume's mount point.
bool IsBeyondDriveRoot(const std::string& path);

struct TSCDetailTexts {
    std::string Size;
    std::string Modified;
    std::string Type;
};

// Size (files only) and modification texts; both empty for virtual items, drive roots (folders
// that hold a volume) and entries that cannot be read.
void GetFileSizeAndDateTexts(LPCITEMIDLIST absolutePidl, std::string& sizeText,
                             std::string& modifiedText);
// "System Folder" for items outside the file system, else the shell's type name.
std::string GetItemTypeText(LPCITEMIDLIST absolutePidl, SFGAOF attributes);
TSCDetailTexts GetItemDetailTexts(LPCITEMIDLIST absolutePidl, SFGAOF attributes);

} // namespace quarn

#pragma once

#include "namespace/ShellConstants.h"

#include <string>
#include <string_view>

namespace quarn {

// The item of one file-system entry, from statx of statPath relative to folder (a folder
// descriptor, or AT_FDCWD with a full path); error holds the errno when it failed.
struct EntryResult {
    std::string item;
    bool folder = false;
    int error = 0;
};
EntryResult StatEntry(int folder, const char* statPath, std::string_view name);

// An item from what the folder listing alone tells (d_type), for an entry that statx
// cannot read.
EntryResult UnreadEntry(std::string_view name, unsigned char directoryType);

// Whether EnumObjects with these flags lists an entry.
bool IsListed(SHCONTF flags, bool folder, bool hidden);
inline bool IsHiddenName(std::string_view name) {
    return name.starts_with('.');
}

} // namespace quarn

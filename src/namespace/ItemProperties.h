#pragma once

#include "namespace/FileTime.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quarn {

// What the properties window shows of one file-system entry.
struct ItemProperties {
    std::string name;
    std::string kind;     // the type name the file list shows
    std::string location; // the folder that holds it
    bool folder = false;
    std::uint64_t size = 0;    // bytes of anything but a folder
    std::uint64_t entries = 0; // entries directly in a folder
    FileTime modified;
    FileTime created; // zero where the file system does not keep it
    std::uint32_t mode = 0;
    std::string owner;
    std::string group;
};

// Read without following a link (a link to a folder counts as a folder); nothing when the
// entry cannot be read.
std::optional<ItemProperties> ReadItemProperties(const std::string& path);

} // namespace quarn

#pragma once

#include "platform/FileOperationResult.h"

#include <optional>
#include <string>

namespace quarn {

// Why a new name cannot be one entry's name: empty, "/" or NUL inside, "." or "..", or longer
// than 255 bytes. Nothing when it can.
std::optional<std::string> NameFault(const std::string& name);

// Gives the entry at path the new name in the same folder, never replacing an entry of that
// name. Refused names and taken names name both names in the message; the same name again
// changes nothing.
FileOperationResult RenameEntry(const std::string& path, const std::string& newName);

} // namespace quarn

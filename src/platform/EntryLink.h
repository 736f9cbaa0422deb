#pragma once

#include "platform/FileOperationResult.h"

#include <string>

namespace quarn {

// Makes target a symbolic link to the absolute path of source, never replacing an entry at
// target. A folder is never linked into itself or into a folder below it.
FileOperationResult LinkEntry(const std::string& source, const std::string& target);

} // namespace quarn

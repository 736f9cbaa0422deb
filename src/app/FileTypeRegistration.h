#pragma once

#include <string>

namespace quarn {

// Writes the five HKEY_CLASSES_ROOT keys of a file type: the extension to its type, the
// type's description, its icon (programPath,iconIndex) and its Open command. A key that
// does not open or write is skipped. With notify the desktop learns the type too.
void RegisterFileType(const std::string& extension, const std::string& progID,
                      const std::string& description, const std::string& programPath, int iconIndex,
                      bool notify);

} // namespace quarn

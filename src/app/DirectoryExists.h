#pragma once

#include <filesystem>
#include <string>

namespace quarn {

// A folder is at path, following symbolic links; false for "" and for anything unreadable.
inline bool DirectoryExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

} // namespace quarn

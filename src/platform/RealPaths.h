#pragma once

#include <optional>
#include <string>

namespace quarn {

// The absolute path of path with every link, "." and ".." resolved; nothing when some part of
// it cannot be looked up.
std::optional<std::string> RealPath(const std::string& path);

// Whether the folder at path is the folder at ancestor or lies below it, both resolved. False
// when either cannot be resolved.
bool FolderLiesWithin(const std::string& path, const std::string& ancestor);

} // namespace quarn

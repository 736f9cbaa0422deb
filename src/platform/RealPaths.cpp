#include "platform/RealPaths.h"

#include <cstdlib>
#include <memory>

namespace quarn {

std::optional<std::string> RealPath(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(
        ::realpath(path.empty() ? "." : path.c_str(), nullptr), std::free);
    if (!resolved) {
        return std::nullopt;
    }
    return std::string(resolved.get());
}

bool FolderLiesWithin(const std::string& path, const std::string& ancestor) {
    const auto folder = RealPath(path);
    const auto top = RealPath(ancestor);
    if (!folder || !top) {
        return false;
    }
    return *folder == *top || *top == "/" || folder->starts_with(*top + "/");
}

} // namespace quarn

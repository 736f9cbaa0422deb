#include "platform/PathLimits.h"

#include <algorithm>
#include <climits>

namespace quarn {

bool WithinPathLimits(std::string_view path) {
    if (path.size() >= PATH_MAX) {
        return false;
    }
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        if (std::min(slash, path.size()) > NAME_MAX) {
            return false;
        }
        path.remove_prefix(slash == std::string_view::npos ? path.size() : slash + 1);
    }
    return true;
}

} // namespace quarn

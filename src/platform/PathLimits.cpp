#include "platform/PathLimits.h"

#include "platform/PosixFile.h"

#include <algorithm>
#include <climits>
#include <unistd.h>

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

bool NameFits(const std::string& path) {
    if (path.size() >= PATH_MAX) {
        return false;
    }
    const long nameMax = ::pathconf(FolderOrWorking(path).c_str(), _PC_NAME_MAX);
    return nameMax < 0 || NamePart(path).size() <= static_cast<std::size_t>(nameMax);
}

} // namespace quarn

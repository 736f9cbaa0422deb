#include "platform/ProgramFile.h"

#include <climits>
#include <unistd.h>

namespace quarn {

std::string ProgramFilePath() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    return length > 0 && static_cast<std::size_t>(length) < sizeof path
               ? std::string(path, static_cast<std::size_t>(length))
               : std::string();
}

} // namespace quarn

#include "clu/contextmenu/UtilityLauncher.h"

#include "platform/PosixFile.h"

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

namespace quarn::contextmenu {

namespace {
bool IsProgram(const std::string& path) {
    return IsRegularFile(path) && ::access(path.c_str(), X_OK) == 0;
}
} // namespace

std::string FindUtility(const std::string& selfProgram) {
    if (!selfProgram.empty()) {
        const std::string beside = FolderPart(selfProgram) + UtilityName;
        if (IsProgram(beside)) {
            return beside;
        }
    }
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "";
    for (std::size_t start = 0; start <= folders.size();) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string folder = folders.substr(start, end - start);
        if (!folder.empty() && folder.front() == '/') {
            const std::string candidate = folder + (folder.back() == '/' ? "" : "/") + UtilityName;
            if (IsProgram(candidate)) {
                return candidate;
            }
        }
        start = end + 1;
    }
    return {};
}

} // namespace quarn::contextmenu

#include "platform/FileOperationResult.h"

#include <cerrno>

namespace quarn {

FileOperationResult ErrnoResult(int error) {
    if (error == 0) {
        return {};
    }
    return {error == EEXIST ? FileOutcome::NameTaken : FileOutcome::Failed, error, {}};
}

std::string QuotedName(const std::string& name) {
    std::string quoted = "'";
    for (const char c : name) {
        if (c == '\0') {
            quoted += "\\0";
        } else {
            quoted.push_back(c);
        }
    }
    return quoted + "'";
}

} // namespace quarn

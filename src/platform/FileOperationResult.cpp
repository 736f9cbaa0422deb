#include "platform/FileOperationResult.h"

namespace quarn {

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

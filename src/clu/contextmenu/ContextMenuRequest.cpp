#include "clu/contextmenu/ContextMenuRequest.h"

#include <filesystem>
#include <system_error>

namespace quarn::contextmenu {

namespace {
bool IsSwitch(const std::string& word) {
    return word == "/e" || word == "/d" || word == "/w";
}

// name as it can be shown on one line: line breaks written as "\n" and "\r".
std::string Shown(const std::string& name) {
    std::string shown;
    for (const char c : name) {
        shown += c == '\n'   ? std::string("\\n")
                 : c == '\r' ? std::string("\\r")
                             : std::string(1, c);
    }
    return "'" + shown + "'";
}

ParsedRequest Refused(std::string reason) {
    ParsedRequest parsed;
    parsed.Refusal = std::move(reason) + "; nothing was handed to QuarnCLU.";
    return parsed;
}
} // namespace

ParsedRequest ParseRequest(const std::vector<std::string>& args, const std::string& workingFolder) {
    if (args.size() < 2 || !IsSwitch(args[1])) {
        ParsedRequest parsed;
        parsed.UsageError = true;
        parsed.Refusal = Usage;
        return parsed;
    }
    ContextMenuRequest request{args[1], {}};
    for (auto name = args.begin() + 2; name != args.end(); ++name) {
        if (name->empty()) {
            return Refused("An empty file name was given");
        }
        if (name->find_first_of("\r\n") != std::string::npos) {
            return Refused("The file name " + Shown(*name) +
                           " holds a line break, which the \"ContextMenu\" list cannot carry");
        }
        if (name->front() == '/') {
            request.Paths.push_back(*name);
        } else if (!workingFolder.empty()) {
            request.Paths.push_back(workingFolder + *name);
        } else {
            return Refused("The file name " + Shown(*name) +
                           " is relative and the working folder is unknown");
        }
    }
    return {request, {}, false};
}

std::string CurrentFolder() {
    std::error_code error;
    std::string folder = std::filesystem::current_path(error).native();
    // A folder that is no longer reachable is not an absolute path.
    if (error || folder.empty() || folder.front() != '/') {
        return {};
    }
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

} // namespace quarn::contextmenu

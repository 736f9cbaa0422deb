#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quarn::contextmenu {

// What a file manager asked for: the utility's switch and the chosen files, each made
// absolute, ready to be listed one per line.
struct ContextMenuRequest {
    std::string Switch; // "/e", "/d" or "/w"
    std::vector<std::string> Paths;
};

// The request, or the reason it was refused (for stderr); nothing of a refused request may
// be handed on.
struct ParsedRequest {
    std::optional<ContextMenuRequest> Request;
    std::string Refusal;
    bool UsageError = false; // no switch, or another one
};

inline constexpr char Usage[] = "Usage: quarn-contextmenu /e|/d|/w FILE...";

// args[0] is the program. Relative names are taken against workingFolder (absolute, with
// a trailing "/"; "" when unknown). A name holding a CR or LF (either ends a line of
// the list), an empty name, or a relative one without a working folder refuses the whole
// request.
ParsedRequest ParseRequest(const std::vector<std::string>& args, const std::string& workingFolder);

// The process's working folder with a trailing "/", or "" when it cannot be read.
std::string CurrentFolder();

} // namespace quarn::contextmenu

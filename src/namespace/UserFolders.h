#pragma once

#include <optional>
#include <string>

namespace quarn {

// The user's folders, from the environment and the XDG user-dirs file. Paths are bytes,
// without a trailing "/".
std::string HomeFolder(); // $HOME; empty when unset
std::string DataHome();   // $XDG_DATA_HOME, else ~/.local/share
std::string ConfigHome(); // $XDG_CONFIG_HOME, else ~/.config

// XDG_<key>_DIR of user-dirs.dirs, else ~/<fallback>.
std::string UserDirectory(const std::string& key, const std::string& fallback);

// Where Send To entries live; created when missing. Nothing when it cannot be created.
std::optional<std::string> SendToFolder();

// The home trash: files/ and info/ below it.
std::string TrashPath();

// path with a trailing "/" removed (the root stays "/").
std::string WithoutTrailingSlash(std::string path);
// folder + "/" + name, without doubling the root's "/".
std::string JoinPath(const std::string& folder, std::string_view name);

} // namespace quarn

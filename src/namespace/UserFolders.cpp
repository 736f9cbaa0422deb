#include "namespace/UserFolders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

namespace quarn {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? WithoutTrailingSlash(value) : std::string();
}

std::string XdgFolder(const char* variable, const char* belowHome) {
    std::string folder = Environment(variable);
    if (folder.starts_with('/')) {
        return folder;
    }
    return JoinPath(HomeFolder(), belowHome);
}

// The value of one line of user-dirs.dirs: "$HOME/Name" or "/absolute".
std::optional<std::string> UserDirsValue(std::string_view line, std::string_view key) {
    const std::string prefix = "XDG_" + std::string(key) + "_DIR=\"";
    if (!line.starts_with(prefix) || !line.ends_with('"')) {
        return std::nullopt;
    }
    std::string_view value = line.substr(prefix.size(), line.size() - prefix.size() - 1);
    if (value.starts_with("$HOME")) {
        return WithoutTrailingSlash(HomeFolder() + std::string(value.substr(5)));
    }
    if (value.starts_with('/')) {
        return WithoutTrailingSlash(std::string(value));
    }
    return std::nullopt;
}

} // namespace

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string JoinPath(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (!path.ends_with('/')) {
        path.push_back('/');
    }
    path.append(name);
    return path;
}

std::string HomeFolder() {
    return Environment("HOME");
}
std::string DataHome() {
    return XdgFolder("XDG_DATA_HOME", ".local/share");
}
std::string ConfigHome() {
    return XdgFolder("XDG_CONFIG_HOME", ".config");
}

std::string UserDirectory(const std::string& key, const std::string& fallback) {
    std::ifstream in(JoinPath(ConfigHome(), "user-dirs.dirs"));
    for (std::string line; std::getline(in, line);) {
        if (auto value = UserDirsValue(line, key)) {
            return *value;
        }
    }
    return JoinPath(HomeFolder(), fallback);
}

std::optional<std::string> SendToFolder() {
    const std::string folder = JoinPath(DataHome(), "Ostrel/Quarn!/SendTo");
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder, error)) {
        return std::nullopt;
    }
    return folder;
}

std::string TrashPath() {
    return JoinPath(DataHome(), "Trash");
}

} // namespace quarn

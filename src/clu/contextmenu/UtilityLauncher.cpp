#include "clu/contextmenu/UtilityLauncher.h"

#include "platform/PosixFile.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace quarn::contextmenu {

namespace {
bool IsProgram(const std::string& path) {
    return IsRegularFile(path) && ::access(path.c_str(), X_OK) == 0;
}

// Spawn attributes and file actions, released on every path.
class SpawnSetup {
public:
    SpawnSetup() {
        ::posix_spawnattr_init(&attributes_);
        ::posix_spawn_file_actions_init(&actions_);
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        ::posix_spawnattr_setsigmask(&attributes_, &none);
        ::posix_spawnattr_setsigdefault(&attributes_, &all);
        ::posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK |
                                                     POSIX_SPAWN_SETSIGDEF);
        ::posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    ~SpawnSetup() {
        ::posix_spawn_file_actions_destroy(&actions_);
        ::posix_spawnattr_destroy(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    const posix_spawnattr_t* Attributes() const { return &attributes_; }
    const posix_spawn_file_actions_t* Actions() const { return &actions_; }

private:
    posix_spawnattr_t attributes_;
    posix_spawn_file_actions_t actions_;
};
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

std::string StartDetached(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const SpawnSetup setup;
    pid_t child = 0;
    const int error = ::posix_spawn(&child, program.c_str(), setup.Actions(), setup.Attributes(),
                                    argv.data(), environ);
    return error == 0 ? std::string() : ErrnoText(error);
}

} // namespace quarn::contextmenu

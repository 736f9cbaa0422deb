#include "platform/DetachedProcess.h"

#include "platform/PosixFile.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace quarn {

namespace {

// Spawn attributes and file actions, released on every path.
class SpawnSetup {
public:
    explicit SpawnSetup(const std::string& folder) {
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
        if (!folder.empty()) {
            ::posix_spawn_file_actions_addchdir_np(&actions_, folder.c_str());
        }
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

std::string StartDetached(const std::string& program, const std::vector<std::string>& args,
                          const std::string& folder) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const SpawnSetup setup(folder);
    pid_t child = 0;
    const int error = ::posix_spawnp(&child, program.c_str(), setup.Actions(), setup.Attributes(),
                                     argv.data(), environ);
    if (error != 0) {
        return ErrnoText(error);
    }
    std::thread([child] {
        RetryOnInterrupt([child] { return ::waitpid(child, nullptr, 0); });
    }).detach();
    return {};
}

} // namespace quarn

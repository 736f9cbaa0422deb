#include "platform/DetachedProcess.h"

#include "platform/EventFd.h"
#include "platform/PosixFile.h"

#include <atomic>
#include <climits>
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

// Starts the program; the system's error number when it could not be started, else 0.
int Spawn(const std::string& program, const std::vector<std::string>& args,
          const std::string& folder, pid_t& child) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const SpawnSetup setup(folder);
    return ::posix_spawnp(&child, program.c_str(), setup.Actions(), setup.Attributes(), argv.data(),
                          environ);
}

// Waits for the child to end; its wait status.
int Reap(pid_t child) {
    int status = 0;
    RetryOnInterrupt([&] { return ::waitpid(child, &status, 0); });
    return status;
}

} // namespace

std::string StartDetached(const std::string& program, const std::vector<std::string>& args,
                          const std::string& folder) {
    pid_t child = 0;
    if (const int error = Spawn(program, args, folder, child); error != 0) {
        return ErrnoText(error);
    }
    std::thread([child] { Reap(child); }).detach();
    return {};
}

// What the reaping thread hands over: the status is stored before the event is set.
struct WatchedProcess::Outcome {
    static constexpr int Running = INT_MIN;

    EventFd ended;
    std::atomic<int> status = Running;
};

WatchedProcess::WatchedProcess(const std::string& program, const std::vector<std::string>& args) {
    pid_t child = 0;
    if (const int error = Spawn(program, args, {}, child); error != 0) {
        startFailure_ = ErrnoText(error);
        return;
    }
    outcome_ = std::make_shared<Outcome>();
    std::thread([child, outcome = outcome_] {
        const int status = Reap(child);
        outcome->status.store(WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                              std::memory_order_release);
        outcome->ended.Set();
    }).detach();
}

int WatchedProcess::EndedFd() const {
    return outcome_ ? outcome_->ended.Fd() : -1;
}

std::optional<int> WatchedProcess::ExitStatus() const {
    if (!outcome_) {
        return std::nullopt;
    }
    const int status = outcome_->status.load(std::memory_order_acquire);
    return status == Outcome::Running ? std::nullopt : std::optional<int>(status);
}

} // namespace quarn

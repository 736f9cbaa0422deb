#include "BlockingWatch.h"

#include "namespace/ChangeHandle.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <sys/inotify.h>

namespace quarn::test {

namespace {

using namespace std::chrono_literals;

// The function pointer cannot carry state: the one blocking watch of the process keeps it here.
struct BlockState {
    std::mutex lock;
    std::condition_variable changed;
    std::string folder;
    bool released = false;
    int calls = 0;
    int blocked = 0;
    int watched = 0; // released calls that added their watch
    WatchFunction previous = nullptr;
};

BlockState& State() {
    static BlockState state;
    return state;
}

int BlockingAddWatch(int inotify, const char* path, std::uint32_t mask) {
    BlockState& state = State();
    std::unique_lock lock(state.lock);
    if (path != state.folder) {
        lock.unlock();
        return ::inotify_add_watch(inotify, path, mask);
    }
    ++state.calls;
    ++state.blocked;
    state.changed.notify_all();
    state.changed.wait_for(lock, 60s, [&] { return state.released; });
    const int watch = ::inotify_add_watch(inotify, path, mask);
    --state.blocked;
    ++state.watched;
    state.changed.notify_all();
    return watch;
}

} // namespace

BlockingWatch::BlockingWatch(std::string folder) {
    BlockState& state = State();
    {
        std::lock_guard guard(state.lock);
        state.folder = std::move(folder);
        state.released = false;
        state.calls = 0;
        state.watched = 0;
    }
    state.previous = SetWatchFunction(&BlockingAddWatch);
}

BlockingWatch::~BlockingWatch() {
    Release();
    BlockState& state = State();
    std::unique_lock lock(state.lock);
    state.changed.wait(lock, [&] { return state.blocked == 0; });
    SetWatchFunction(state.previous);
}

int BlockingWatch::Calls() const {
    std::lock_guard guard(State().lock);
    return State().calls;
}

bool BlockingWatch::Blocked() const {
    std::lock_guard guard(State().lock);
    return State().blocked > 0;
}

bool BlockingWatch::WaitUntilBlocked() const {
    BlockState& state = State();
    std::unique_lock lock(state.lock);
    return state.changed.wait_for(lock, 10s, [&] { return state.blocked > 0; });
}

bool BlockingWatch::WaitUntilWatched() const {
    BlockState& state = State();
    std::unique_lock lock(state.lock);
    return state.changed.wait_for(lock, 10s, [&] { return state.watched > 0; });
}

void BlockingWatch::Release() {
    BlockState& state = State();
    std::lock_guard guard(state.lock);
    state.released = true;
    state.changed.notify_all();
}

} // namespace quarn::test

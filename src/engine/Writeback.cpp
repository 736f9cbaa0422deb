#include "engine/Writeback.h"

#include "engine/FileWorkView.h"
#include "engine/MessagePacer.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quarn {

namespace {

// File systems without ranged write-out refuse it; their flush does the whole work.
bool Unsupported(int error) {
    return error == EINVAL || error == ESPIPE || error == ENOSYS || error == EOPNOTSUPP;
}

// Starts the write-out of the window at start and waits for the one before it; answers errno.
int StartAndWait(int fd, std::uint64_t start) {
    const auto offset = static_cast<off_t>(start);
    const auto window = static_cast<off_t>(Writeback::Window);
    int result = ::sync_file_range(fd, offset, window, SYNC_FILE_RANGE_WRITE);
    if (result == 0 && start >= Writeback::Window) {
        result = ::sync_file_range(fd, offset - window, window,
                                   SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                       SYNC_FILE_RANGE_WAIT_AFTER);
    }
    return result == 0 ? 0 : errno;
}

StepFailure FailureOf(int error) {
    return error == 0 ? std::nullopt : StepFailure(SystemFailure(error));
}

} // namespace

Writeback::Writeback(FileWorkView& view, int fd)
    : view_(view), fd_(fd), helper_([this] { Run(); }) {
}

Writeback::~Writeback() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
}

StepFailure Writeback::Advance(std::uint64_t written) {
    std::unique_lock lock(mutex_);
    written_ = written;
    if (WindowFull()) {
        changed_.notify_all();
    }
    const auto caughtUp = [this] {
        return !supported_ || error_ != 0 || written_ - onDevice_ <= Ahead;
    };
    if (!caughtUp()) {
        WaitAnswering(lock, caughtUp);
    }
    return FailureOf(error_);
}

StepFailure Writeback::Finish() {
    std::unique_lock lock(mutex_);
    finishing_ = true;
    changed_.notify_all();
    WaitAnswering(lock, [this] { return finished_; });
    return FailureOf(error_);
}

template <typename Done>
void Writeback::WaitAnswering(std::unique_lock<std::mutex>& lock, Done done) {
    do {
        lock.unlock();
        view_.ProcessMessages();
        lock.lock();
    } while (!changed_.wait_for(lock, MessagePacer::Interval, done));
}

void Writeback::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || finishing_ || WindowFull(); });
        if (stopping_) {
            return;
        }
        if (finishing_) {
            lock.unlock();
            const int error = ::fdatasync(fd_) == 0 ? 0 : errno;
            lock.lock();
            error_ = error_ != 0 ? error_ : error;
            finished_ = true;
            changed_.notify_all();
            return;
        }
        const std::uint64_t start = started_;
        lock.unlock();
        const int error = StartAndWait(fd_, start);
        lock.lock();
        if (Unsupported(error)) {
            supported_ = false;
        } else if (error != 0) {
            error_ = error;
        } else {
            started_ += Window;
            onDevice_ = start;
        }
        changed_.notify_all();
    }
}

bool Writeback::WindowFull() const {
    return supported_ && error_ == 0 && written_ - started_ >= Window;
}

} // namespace quarn

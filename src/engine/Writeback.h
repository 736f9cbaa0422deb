#pragma once

#include "engine/FileFailure.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace quarn {

class FileWorkView;

// Sends the pages of a file that is written front to back to the device while it is written,
// from a helper thread that lives for one pass over the file: whenever a window is full, the
// helper starts its write-out and waits for the window before it. The writer goes on meanwhile
// and waits only when it is more than Ahead bytes ahead of the device, so the page cache never
// fills with the file; Finish flushes the file on the helper. While the writer waits the
// window answers, so a busy device never holds the interface.
class Writeback {
public:
    static constexpr std::uint64_t Window = std::uint64_t{1} << 20;
    static constexpr std::uint64_t Ahead = 8 * Window;

    Writeback(FileWorkView& view, int fd);
    // Stops the helper, after the write-out it waits for.
    ~Writeback();
    Writeback(const Writeback&) = delete;
    Writeback& operator=(const Writeback&) = delete;

    // The first `written` bytes are written. Answers a write-out that failed: that error is
    // reported here only, not by the flush.
    StepFailure Advance(std::uint64_t written);
    // Everything is written: flushes the file (fdatasync) and answers the first error of the
    // write-out or the flush.
    StepFailure Finish();

private:
    void Run();
    bool WindowFull() const;
    // Waits, processing the window's messages once at the start and then every interval, until
    // done() holds; the lock is held when it is asked and on return.
    template <typename Done> void WaitAnswering(std::unique_lock<std::mutex>& lock, Done done);

    FileWorkView& view_;
    int fd_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::uint64_t written_ = 0;  // told by the writer
    std::uint64_t started_ = 0;  // write-out was started for every byte before this offset
    std::uint64_t onDevice_ = 0; // every byte before this offset is on the device
    bool supported_ = true;      // the file system takes ranged write-out
    bool finishing_ = false;
    bool finished_ = false;
    bool stopping_ = false;
    int error_ = 0; // errno of the first write-out or flush that failed
    std::jthread helper_;
};

} // namespace quarn

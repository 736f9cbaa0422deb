#pragma once

#include <chrono>

namespace quarn {

class FileWorkView;

// Processes the window's pending messages from a block loop at most once per interval, so
// that repaints and Cancel stay prompt while the cost per 4096-byte block stays small.
class MessagePacer {
public:
    static constexpr std::chrono::milliseconds Interval{10};

    explicit MessagePacer(FileWorkView& view);
    // Processes pending messages when Interval has passed since the last time.
    void Pump();

private:
    FileWorkView& view_;
    std::chrono::steady_clock::time_point last_;
};

} // namespace quarn

#pragma once

#include <cstdint>

namespace quarn {

// Sends the pages of a file that is written front to back to the device while it is written,
// one window at a time, and waits for the window before the one just started. The flush at
// the end then has at most two windows left, so no single call holds the interface for long
// and the page cache never fills with the file.
class Writeback {
public:
    static constexpr std::uint64_t Window = std::uint64_t{1} << 20;

    explicit Writeback(int fd) : fd_(fd) {}

    // The first `written` bytes are written. Answers false when a write-out that was waited
    // for failed (errno set): that error is then reported here only, not by a later flush.
    bool Advance(std::uint64_t written);

private:
    int fd_;
    std::uint64_t started_ = 0; // write-out was started for every byte before this offset
    bool supported_ = true;
};

} // namespace quarn

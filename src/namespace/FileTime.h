#pragma once

#include <QDateTime>
#include <compare>
#include <cstdint>
#include <ctime>
#include <sys/stat.h>

namespace quarn {

// A file's time as the kernel keeps it: whole seconds since the epoch, any 64-bit count of
// them, and the nanoseconds within that second. Nothing in it can overflow.
struct FileTime {
    std::int64_t seconds = 0;
    std::uint32_t nanoseconds = 0; // 0 to 999,999,999

    bool IsZero() const { return seconds == 0 && nanoseconds == 0; }
    friend auto operator<=>(const FileTime&, const FileTime&) = default;
};

FileTime FileTimeOf(const struct statx_timestamp& time);
FileTime FileTimeOf(const timespec& time);
// A count of nanoseconds since the epoch, as earlier builds stored times.
FileTime FileTimeFromNanoseconds(std::int64_t nanoseconds);

// The time in UTC, to the millisecond; invalid for a time beyond the dates QDateTime holds
// (some 292 million years either side of the epoch).
QDateTime DateTimeOf(FileTime time);

} // namespace quarn

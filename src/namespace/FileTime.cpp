#include "namespace/FileTime.h"

namespace quarn {

namespace {

constexpr std::int64_t NanosecondsPerSecond = 1'000'000'000;
constexpr std::int64_t NanosecondsPerMillisecond = 1'000'000;

} // namespace

FileTime FileTimeOf(const struct statx_timestamp& time) {
    return {time.tv_sec, time.tv_nsec};
}

FileTime FileTimeOf(const timespec& time) {
    return {time.tv_sec, static_cast<std::uint32_t>(time.tv_nsec)};
}

FileTime FileTimeFromNanoseconds(std::int64_t nanoseconds) {
    std::int64_t seconds = nanoseconds / NanosecondsPerSecond;
    std::int64_t rest = nanoseconds % NanosecondsPerSecond;
    if (rest < 0) {
        rest += NanosecondsPerSecond;
        --seconds;
    }
    return {seconds, static_cast<std::uint32_t>(rest)};
}

QDateTime DateTimeOf(FileTime time) {
    qint64 milliseconds = 0;
    if (__builtin_mul_overflow(time.seconds, qint64{1000}, &milliseconds) ||
        __builtin_add_overflow(milliseconds, time.nanoseconds / NanosecondsPerMillisecond,
                               &milliseconds)) {
        return {};
    }
    return QDateTime::fromMSecsSinceEpoch(milliseconds, Qt::UTC);
}

} // namespace quarn

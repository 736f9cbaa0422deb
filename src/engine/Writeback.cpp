#include "engine/Writeback.h"

#include <cerrno>
#include <fcntl.h>

namespace quarn {

namespace {
// File systems without ranged write-out refuse it; their flush does the whole work.
bool Unsupported(int error) {
    return error == EINVAL || error == ESPIPE || error == ENOSYS || error == EOPNOTSUPP;
}
} // namespace

bool Writeback::Advance(std::uint64_t written) {
    while (supported_ && written - started_ >= Window) {
        const auto start = static_cast<off_t>(started_);
        const auto window = static_cast<off_t>(Window);
        int result = ::sync_file_range(fd_, start, window, SYNC_FILE_RANGE_WRITE);
        if (result == 0 && started_ >= Window) {
            result = ::sync_file_range(fd_, start - window, window,
                                       SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                           SYNC_FILE_RANGE_WAIT_AFTER);
        }
        if (result != 0 && Unsupported(errno)) {
            supported_ = false;
        } else if (result != 0) {
            return false;
        }
        started_ += Window;
    }
    return true;
}

} // namespace quarn

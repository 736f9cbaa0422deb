#pragma once

#include "platform/PosixFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>

namespace quarn {

// The file a procedure reads: opened read-only (following a symbolic link to its target),
// a regular file only, held with a shared lock so that another Quarn process sees it in use.
class ContainerSource {
public:
    // Throws ContainerFailure: InUseText when it cannot be opened or locked, NotRegularText
    // for a folder, FIFO, device or socket (opened without blocking, never read).
    explicit ContainerSource(const std::string& path);

    std::int64_t Size() const { return size_; }
    mode_t Permissions() const { return permissions_; }

    // Reads count bytes, fewer only where the file ends. Throws IoFailure on an error.
    std::size_t Read(void* buffer, std::size_t count);

private:
    UniqueFd fd_;
    std::int64_t size_ = 0;
    mode_t permissions_ = 0;
};

} // namespace quarn

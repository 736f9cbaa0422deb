#pragma once

#include "engine/FileFailure.h"
#include "engine/ReadSource.h"
#include "platform/PosixFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quarn {

// The file a procedure reads: opened read-only, a regular file only (a symbolic link is never
// followed), held with a shared lock so that another Quarn process sees it in use. It is read
// from the file ReadAhead bytes at a time and handed out in the chunks the procedure asks for.
class ContainerSource {
public:
    static constexpr std::size_t ReadAhead = std::size_t{1} << 16;

    // InUse when it cannot be opened or locked; NotRegularFile for a link, folder, FIFO,
    // device or socket (opened without blocking, never read).
    StepFailure Open(const std::string& path);

    std::int64_t Size() const { return size_; }
    mode_t Permissions() const { return permissions_; }

    // Reads count bytes into buffer, fewer (got) only where the file ends.
    StepFailure Read(void* buffer, std::size_t count, std::size_t& got);

    // Hands the open file over, stamped as it was when opened; nothing is read after.
    ReadSource Release();

private:
    UniqueFd fd_;
    EntryStamp stamp_;
    std::vector<std::uint8_t> ahead_; // bytes next_ to end_ are read and not yet handed out
    std::size_t next_ = 0;
    std::size_t end_ = 0;
    std::int64_t size_ = 0;
    mode_t permissions_ = 0;
};

} // namespace quarn

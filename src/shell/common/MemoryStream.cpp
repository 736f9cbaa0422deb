#include "shell/common/MemoryStream.h"

#include "shell/common/ShellErrors.h"

#include <cstring>

namespace quarn {

void TMemoryStream::Write(const void* data, std::size_t count) {
    if (position_ + count > bytes_.size()) {
        bytes_.resize(position_ + count);
    }
    if (count) {
        std::memcpy(bytes_.data() + position_, data, count);
    }
    position_ += count;
}

void TMemoryStream::ReadBuffer(void* data, std::size_t count) {
    if (count > Remaining()) {
        throw EReadError("Stream read error");
    }
    if (count) {
        std::memcpy(data, bytes_.data() + position_, count);
    }
    position_ += count;
}

} // namespace quarn

#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quarn {

// Bytes with a read and write position, for blocks the controls keep in memory.
class TMemoryStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::size_t Size() const { return bytes_.size(); }
    void SetPosition(std::size_t position) { position_ = position; }
    std::size_t Remaining() const { return position_ < Size() ? Size() - position_ : 0; }

    void Write(const void* data, std::size_t count);
    // Reads exactly count bytes; raises EReadError ("Stream read error") when fewer are left.
    void ReadBuffer(void* data, std::size_t count);

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

} // namespace quarn

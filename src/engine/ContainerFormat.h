#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quarn {

class TRijndael;

// The byte after the stored password and after the stored name.
inline constexpr char ContainerSeparator = 0x0E;
// The header (password, separator, name, separator) must lie within the first chunk.
inline constexpr std::size_t MaxHeaderLength = 4095;
// Sizes and positions of the format are 32-bit signed.
inline constexpr std::int64_t MaxSourceSize = (std::int64_t{1} << 31) - 1;

// A password the reader can find again: no separator after its first byte.
bool IsStorablePassword(std::string_view password);
// A name the reader accepts and that stays inside the output folder: not empty, not "." or
// "..", no "/" or NUL, no separator after its first byte.
bool IsStorableName(std::string_view name);

// Pads the count bytes at the start of buffer to a whole number of blocks (1 to 16 bytes,
// each holding the padding length); buffer has room for 16 more. Returns the padded count.
std::size_t AppendPadding(std::uint8_t* buffer, std::size_t count);
// The padding length that ends data (1 to 16 equal bytes of that value, no more than the data
// holds), or nothing when the data does not end in such padding.
std::optional<std::size_t> PaddingLength(const std::uint8_t* data, std::size_t length);

// Keys the cipher for one container (CBC, AES-256, the IV seed, the password) and resets it
// and clears its buffer when the file ends, whatever the outcome.
class ContainerKeying {
public:
    ContainerKeying(TRijndael& cipher, std::string_view password);
    ~ContainerKeying();
    ContainerKeying(const ContainerKeying&) = delete;
    ContainerKeying& operator=(const ContainerKeying&) = delete;

private:
    TRijndael& cipher_;
};

} // namespace quarn

#include "platform/Guid.h"

#include "platform/PosixFile.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <sys/random.h>
#include <system_error>

namespace quarn {

namespace {
std::array<std::uint8_t, 16> RandomBytes() {
    std::array<std::uint8_t, 16> bytes{};
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = RetryOnInterrupt(
            [&] { return ::getrandom(bytes.data() + done, bytes.size() - done, 0); });
        if (got < 0) {
            throw std::system_error(errno, std::generic_category(), "getrandom");
        }
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}
} // namespace

std::string NewGuidText() {
    auto bytes = RandomBytes();
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text = "{";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) {
            text += '-';
        }
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    text += '}';
    return text;
}

} // namespace quarn

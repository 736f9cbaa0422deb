#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quarn::test {

inline std::string FromHex(std::string_view hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
}

inline std::string ToHex(std::string_view bytes) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        hex += Digits[static_cast<std::uint8_t>(c) >> 4];
        hex += Digits[static_cast<std::uint8_t>(c) & 15];
    }
    return hex;
}

} // namespace quarn::test

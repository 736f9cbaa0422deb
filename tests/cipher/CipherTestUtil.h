#pragma once

#include "cipher/Rijndael.h"

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace quarn {

inline std::string ModeName(TCipherMode mode) {
    return std::array{"ECB", "CBC", "CFB", "OFB"}[mode];
}
inline std::string StringModeName(TStringMode mode) {
    return std::array{"smMime", "smEncode", "smNormal"}[mode];
}

// Test parameters print by name, not as the raw byte.
inline void PrintTo(TCipherMode mode, std::ostream* out) {
    *out << ModeName(mode);
}
inline void PrintTo(TStringMode mode, std::ostream* out) {
    *out << StringModeName(mode);
}

} // namespace quarn

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

#include "cipher/TextCoding.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace quarn {
namespace {

constexpr std::string_view SixBitAlphabet =
    "+-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr std::string_view Base64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

using DecodeTable = std::array<std::uint8_t, 256>;

// Characters outside the alphabet map to 0.
constexpr DecodeTable MakeDecodeTable(std::string_view alphabet) {
    DecodeTable table{};
    for (std::size_t value = 0; value < alphabet.size(); ++value)
        table[static_cast<std::uint8_t>(alphabet[value])] = static_cast<std::uint8_t>(value);
    return table;
}

constexpr DecodeTable SixBitValues = MakeDecodeTable(SixBitAlphabet);
constexpr DecodeTable Base64Values = MakeDecodeTable(Base64Alphabet);

// Each group of up to three bytes gives one character more than it has bytes; a short last
// group is filled with "=" to four characters when pad is set.
std::string Encode(std::string_view bytes, std::string_view alphabet, bool pad) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < count ? static_cast<std::uint8_t>(bytes[i + k]) : 0);
        for (std::size_t k = 0; k <= count; ++k)
            text += alphabet[group >> (18 - 6 * k) & 63];
        if (pad)
            text.append(3 - count, '=');
    }
    return text;
}

// Every character adds six bits; a byte is out as soon as its eight bits are in, so a lone
// trailing character of a group gives nothing.
std::string Decode(std::string_view text, const DecodeTable& values, bool skipEquals) {
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3 + 2);
    std::uint32_t bits = 0;
    int held = 0;
    for (const char c : text) {
        if (skipEquals && c == '=')
            continue;
        bits = (bits << 6 | values[static_cast<std::uint8_t>(c)]) & 0xFFF;
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes += static_cast<char>(bits >> held & 0xFF);
        }
    }
    return bytes;
}

} // namespace

std::string Base64Encode(std::string_view bytes) {
    return Encode(bytes, Base64Alphabet, true);
}
std::string Base64Decode(std::string_view text) {
    return Decode(text, Base64Values, true);
}
std::string SixBitEncode(std::string_view bytes) {
    return Encode(bytes, SixBitAlphabet, false);
}
std::string SixBitDecode(std::string_view text) {
    return Decode(text, SixBitValues, false);
}

} // namespace quarn

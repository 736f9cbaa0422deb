#pragma once

#include <string>
#include <string_view>

namespace quarn {

// Base64 (RFC 4648 alphabet, "=" padding, no line breaks).
std::string Base64Encode(std::string_view bytes);
// Skips every "=", counts any other character outside the alphabet as value 0.
std::string Base64Decode(std::string_view text);

// The cipher component's own 6-bit coding: alphabet "+-0-9A-Za-z", no padding character.
std::string SixBitEncode(std::string_view bytes);
// Any character outside the alphabet counts as value 0.
std::string SixBitDecode(std::string_view text);

} // namespace quarn

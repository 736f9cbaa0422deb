#pragma once

#include <string>
#include <string_view>

namespace quarn {

// 'A' to 'Z' become 'a' to 'z'; every other byte stays, so UTF-8 and other code pages pass
// through unchanged.
char AsciiLower(char c);
std::string AsciiLower(std::string_view text);

// The value of one hexadecimal digit of either case, or -1 for any other byte.
int HexDigitValue(char c);

} // namespace quarn

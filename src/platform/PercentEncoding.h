#pragma once

#include <string>
#include <string_view>

namespace quarn {

// Paths in URIs and trash info files: every byte but the unreserved ASCII letters, digits,
// "-", ".", "_", "~" and the separator "/" becomes %XX, so any name's raw bytes survive.
std::string PercentEncodePath(std::string_view bytes);

// %XX back to its byte; a "%" without two hex digits stays as it is.
std::string PercentDecode(std::string_view text);

} // namespace quarn

#pragma once

// Characters of texts in the system code page (UTF-8).

#include <cstddef>
#include <string>

namespace quarn {

std::string AppendCharIfMissing(const std::string& text, char c);
void AppendCharAt(std::size_t& position, const std::string& text, std::string& target);

} // namespace quarn

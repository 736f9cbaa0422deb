#pragma once

#include <string_view>
#include <vector>

namespace quarn {

// The pieces of text between separators, empty ones left out: "/a//b/" at '/' gives "a"
// and "b". The pieces point into text.
std::vector<std::string_view> SplitSkippingEmpty(std::string_view text, char separator);

} // namespace quarn

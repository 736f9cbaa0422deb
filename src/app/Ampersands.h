#pragma once

#include <string>

namespace quarn {

// A menu caption that shows text as it stands: every "&" becomes "&&", since a single "&"
// marks the caption's mnemonic.
std::string EscapeAmpersands(const std::string& text);

} // namespace quarn

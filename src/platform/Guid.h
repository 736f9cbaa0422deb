#pragma once

#include <string>

namespace quarn {

// A fresh random (version 4) GUID in its registry text form: 38 characters, braced,
// upper-case hexadecimal digits in groups of 8, 4, 4, 4 and 12, e.g.
// "{4E7A19C2-5B30-4D86-9F1E-07C3A8B2D615}". Throws std::system_error when the system's
// random source fails.
std::string NewGuidText();

} // namespace quarn

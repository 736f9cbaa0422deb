#pragma once

#include <cstdint>
#include <string>

namespace quarn {

// A byte count as the status bar shows it: "999 bytes", "0.97 KB", "1.50 MB", "3.00 GB"
// (three significant digits; the GB row takes everything from 1 GiB up, so "5000 GB").
std::string FormatSize(std::uint64_t count);

// value in fixed notation cut to digits significant digits, without rounding beyond the
// formatting to digits decimals: (3, 0.9765625) "0.97", (3, 150.7) "150", (3, 1023.5)
// "1023". Always with a point, whatever the locale. Throws std::out_of_range for digits
// outside 1 to 16.
std::string GetSignificantDigits(int digits, double value);

} // namespace quarn

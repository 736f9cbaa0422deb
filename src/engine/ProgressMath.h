#pragma once

#include <cstdint>

namespace quarn {

// done / total × 100 rounded to the nearest integer, halves to even, clamped to 0..100.
// A total of 0 gives 0.
int RoundedPercent(std::uint64_t done, std::uint64_t total);

} // namespace quarn

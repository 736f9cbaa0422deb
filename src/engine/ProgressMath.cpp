#include "engine/ProgressMath.h"

#include <algorithm>
#include <cmath>

namespace quarn {

int RoundedPercent(std::uint64_t done, std::uint64_t total) {
    if (total == 0) {
        return 0;
    }
    // long double holds every 64-bit count exactly, so exact halves stay halves.
    const long double percent =
        static_cast<long double>(done) * 100.0L / static_cast<long double>(total);
    return static_cast<int>(std::clamp(std::nearbyint(percent), 0.0L, 100.0L));
}

} // namespace quarn

#pragma once

#include <cstdint>

namespace quarn {

// The settings the encrypt, decrypt and wipe work reads, with their defaults. Values are
// kept as stored: the wipe itself copes with a WipeCount below 1 or a HexValue above 255.
struct EngineOptions {
    bool EncryptName = true;
    bool AppendExtension = false;
    bool DeleteOriginal = false;
    bool FastWipe = true;
    std::int32_t HexValue = 0;
    std::int32_t WipeCount = 1;
};

} // namespace quarn

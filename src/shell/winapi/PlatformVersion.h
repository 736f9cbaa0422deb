#pragma once

// The platform's version answers that the controls branch on: fixed (NT, comctl32 6.0), set
// by tests to reach the older branches.

#include <cstdint>
#include <string>

namespace quarn {

struct PlatformVersion {
    bool windowsNT = true;
    std::uint64_t comCtl32Version = std::uint64_t{0x00060000}
                                    << 32; // major.minor in the high dword
};
const PlatformVersion& GetPlatformVersion();
void SetPlatformVersion(const PlatformVersion& version);
bool IsWindowsNT();
// comctl32.dll answers the fixed version; any other file its embedded version block.
bool GetDllFileVersion(const std::string& fileName, std::uint64_t& version);

} // namespace quarn

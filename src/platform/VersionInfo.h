#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quarn {

// The fixed version record (52 bytes) that the build embeds in each program and in the
// help control, in the ELF section VersionSectionName.
struct FixedFileInfo {
    std::uint32_t signature = 0; // FixedFileInfoSignature
    std::uint32_t strucVersion = 0;
    std::uint32_t fileVersionMS = 0; // major << 16 | minor
    std::uint32_t fileVersionLS = 0; // release << 16 | build
    std::uint32_t productVersionMS = 0;
    std::uint32_t productVersionLS = 0;
    std::uint32_t fileFlagsMask = 0;
    std::uint32_t fileFlags = 0;
    std::uint32_t fileOS = 0;
    std::uint32_t fileType = 0; // 1 program, 2 library
    std::uint32_t fileSubtype = 0;
    std::uint32_t fileDateMS = 0;
    std::uint32_t fileDateLS = 0;
};

inline constexpr std::uint32_t FixedFileInfoSignature = 0xFEEF04BD;
inline constexpr std::size_t FixedFileInfoSize = 52;
inline constexpr const char* VersionSectionName = ".quarn.version";

// The version record of an ELF file (32- or 64-bit, either byte order), taken from its
// section headers; nothing when the file is missing, not ELF or has no valid record.
std::optional<FixedFileInfo> ReadFixedFileInfo(const std::string& path);

} // namespace quarn

#pragma once

#include "namespace/FileTime.h"
#include "namespace/ShellFolder.h"

#include <cstdint>
#include <string>

namespace quarn {

inline constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = 0x1;
inline constexpr std::uint32_t FILE_ATTRIBUTE_HIDDEN = 0x2;
inline constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;

// What the link reader tells of a link's target.
struct TFindData {
    std::uint32_t dwFileAttributes = 0;
    std::uint64_t nFileSize = 0;
    FileTime ftLastWriteTime;
    std::string cFileName;
};

inline constexpr std::uint8_t LinkDataValid = 0x3F;

struct TLinkData {
    std::string Path; // the target
    std::uint8_t Valid = 0;
    std::string Description;
    std::string Arguments;
    std::string IconLocation;
    std::int32_t IconIndex = 0;
    std::string WorkingDirectory;
    std::int32_t ShowCmd = 0;
    std::uint16_t HotKey = 0;
    std::uint8_t ResolveMode = 0;  // input: 0 or 1
    LPITEMIDLIST IdList = nullptr; // the caller frees it through the shared allocator
    TFindData FindData;
};

// Reads a symbolic link: its target path (a relative target joined to the link's folder)
// and what the target is. A path that is no link fails when it is read, a dangling link
// when it is resolved; fields read before a failure keep their values.
HRESULT ReadShellLink(const std::string& path, TLinkData& data, bool wantList);

} // namespace quarn

#pragma once

#include "shell/common/MemoryStream.h"

#include <array>
#include <cstdint>
#include <string>

namespace quarn {

// The clipboard and drag format of item-ID list arrays, as a MIME type of our own.
const std::string& ShellIdListFormat();

// Column widths kept while the program runs; never written to disk.
TMemoryStream& ColumnWidthStream();

// The file list's copy of the default column widths, zero until it reads them.
std::array<std::uint8_t, 22>& ColumnDefaults();

// How long and how still the mouse must hover over a node during a drag before it opens.
// The platform has no such setting to read, so the defaults stand.
struct HoverMetrics {
    int HoverTime = 400; // ms
    int HoverWidth = 2;  // px
    int HoverHeight = 2; // px
};
const HoverMetrics& MouseHoverMetrics();

} // namespace quarn

#pragma once

// The file list's columns: its own four, with their widths from Explorer's "DirectoryCols"
// value, and the widths that follow the list from folder to folder while the program runs.

#include "shell/list/ShellListModel.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quarn {

class DesignScale;
class TMemoryStream;

// "Name", "Size" (right-aligned), "Type", "Modified".
std::vector<TSCListColumn> OwnColumns();

// The words of "DirectoryCols" over the defaults, and the bytes read (10 for the defaults).
// The defaults are design pixels: "Size" 70 holds every size below 10 GB ("9,999,999KB"),
// "Type" 115 the type of our own files ("Quarn! Encrypted File"), in any font.
struct TSCDirectoryCols {
    std::array<std::uint16_t, 11> Words{200, 70, 115, 120, 50};
    int Count = 10;
    // The bytes of the value read over the defaults: the words they reach are the user's own.
    int Read = 0;

    // The first Count / 2 words and the count are the same.
    bool Matches(const TSCDirectoryCols& other) const;
};
// Reads HKEY_CURRENT_USER "Software\Microsoft\Windows\CurrentVersion\Explorer" value
// "DirectoryCols" (never written); a value over 22 bytes or any registry error leaves the
// defaults.
TSCDirectoryCols ReadDirectoryCols();
// The widths of the four own columns: the user's words as they are, in pixels of the screen
// they were set on; the defaults, design pixels, scaled to the list's font.
std::vector<int> OwnColumnWidths(const TSCDirectoryCols& cols, const DesignScale& px);

// Process-wide, for every list: the widths of the last columns left, and the "DirectoryCols"
// copy of the last build of own columns (Count 0 before the first).
TMemoryStream& ColumnWidthStore();
TSCDirectoryCols& LastDirectoryCols();

// The store holds a 32-bit little-endian count, then one 32-bit width per column.
void WriteColumnWidths(TMemoryStream& store, const std::vector<int>& widths);
// The stored widths, as many as the store holds whole.
std::vector<int> ReadColumnWidths(TMemoryStream& store);

} // namespace quarn

#pragma once

// The folders of files that the listing benchmarks read, and the plain listing they measure
// against.

#include <string>

namespace quarn::bench {

inline constexpr int ListingFileCount = 10'000;

// A folder of fileCount files, made on first use and removed when the program ends.
const std::string& ListingFolderPath(int fileCount = ListingFileCount);

// readdir and statx of every entry, as a file manager at its simplest reads a folder; the
// count of entries, "." and ".." included.
int PlainListing(const std::string& path);

} // namespace quarn::bench

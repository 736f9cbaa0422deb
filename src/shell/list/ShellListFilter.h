#pragma once

// The file list's filter: masks of "*" and "?" written with ";" between them, and the set of
// the names in a folder that one of them matches.

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace quarn {

// The masks of a filter text in the order written; empty pieces are dropped, none is trimmed.
std::vector<std::string> ParseFileFilter(std::string_view text);

// "*" stands for any run of characters, "?" for one; letters match without regard to case.
// A mask that ends in ".*" also matches the name without that extension, so "*.*" matches
// every name.
bool MatchesMask(std::string_view name, std::string_view mask);

// A filter text that lets every item through, so that no name set is prepared.
bool ShowsEverything(std::string_view filter);

// The exact names of the entries of folderPath that are no folder and match one of masks;
// empty when the folder cannot be read.
std::unordered_set<std::string> MatchingFileNames(const std::string& folderPath,
                                                  const std::vector<std::string>& masks);

} // namespace quarn

#pragma once

#include <string>
#include <string_view>

namespace quarn {

// The names a staged file takes where it cannot stay unnamed: "quarn-" followed by six letters
// or digits and ".part", beside its final path.

// A fresh one beside path, not in use yet by chance: the create or link that uses it fails with
// EEXIST otherwise, and the caller draws again.
std::string FreshStagedName(const std::string& path);

// name (without its folder) has the form of a staged file's name.
bool IsStagedName(std::string_view name);

} // namespace quarn

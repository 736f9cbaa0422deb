#pragma once

#include <string>
#include <string_view>

namespace quarn {

// Staging names: a prefix, six letters or digits drawn at random and ".part". Staged files take
// them with "quarn-" beside their final path, staged folders (StagedFolder.h) hidden with
// ".quarn-".

// A fresh name with prefix, not in use yet by chance: the create or link that uses it fails
// with EEXIST otherwise, and the caller draws again.
std::string FreshStagingName(std::string_view prefix);

// name (without its folder) is a staging name with prefix.
bool IsStagingName(std::string_view name, std::string_view prefix);

// A fresh staged file's name beside path (its folder included).
std::string FreshStagedName(const std::string& path);

// name (without its folder) has the form of a staged file's name.
bool IsStagedName(std::string_view name);

} // namespace quarn

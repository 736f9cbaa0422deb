#pragma once

#include "engine/EngineOptions.h"

#include <string>

namespace quarn {

// The extension every encrypted file carries.
inline constexpr const char* EncryptedExtension = ".zot!";

// The lower-cased extension of the file-name part (from its last "." on) is ".zot!".
bool IsEncryptedFile(const std::string& path);

// The extension of the file-name part with its dot ("" when the name has none).
std::string ExtensionOf(const std::string& path);

// path with the extension of its file-name part replaced by ext (added when it has none):
// "my.dir/README" gives "my.dir/README.zot!".
std::string ReplaceExtension(const std::string& path, const std::string& ext);

// The first of "0.zot!", "1.zot!", ... for which folder + name is not taken by any entry.
// folder ends in "/" (or is empty for the working folder).
std::string NextNumberedName(const std::string& folder);

// Where encrypting source would write: folder + NextNumberedName with EncryptName,
// else source + ".zot!" with AppendExtension, else source with its extension replaced.
std::string EncryptedOutputPath(const std::string& source, const std::string& folder,
                                const EngineOptions& options);

} // namespace quarn

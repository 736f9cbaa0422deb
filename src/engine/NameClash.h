#pragma once

#include <optional>
#include <string>

namespace quarn {

class MessageService;

enum class ClashCommand { Encrypt, Decrypt };

// Settles a clash of outputPath with an existing file: asks for a new name (the save dialog
// opens in folder) or for leave to overwrite, and deletes the file to be replaced. Answers
// the path to write, or nothing when the file is to be skipped (after the message that says
// so, where there is one). A file that is the source itself (same device and inode, so also
// a hard link to it) is never deleted: the file is then skipped. Without a clash, outputPath
// comes back unchanged.
std::optional<std::string> SettleNameClash(MessageService& messages, ClashCommand command,
                                           const std::string& outputPath, const std::string& folder,
                                           const std::string& sourcePath);

} // namespace quarn

#include "platform/EntryRename.h"

#include "platform/PosixFile.h"
#include "platform/SafeFile.h"

#include <cerrno>
#include <climits>

namespace quarn {

std::optional<std::string> NameFault(const std::string& name) {
    if (name.empty()) {
        return "A name cannot be empty.";
    }
    if (name.find('/') != std::string::npos) {
        return "A name cannot contain \"/\".";
    }
    if (name.find('\0') != std::string::npos) {
        return "A name cannot contain a NUL character.";
    }
    if (name == "." || name == "..") {
        return "\".\" and \"..\" cannot be used as names.";
    }
    if (name.size() > NAME_MAX) {
        return "A name cannot be longer than 255 bytes.";
    }
    return std::nullopt;
}

FileOperationResult RenameEntry(const std::string& path, const std::string& newName) {
    const std::string oldName = NamePart(path);
    const std::string prefix =
        "Unable to rename " + QuotedName(oldName) + " to " + QuotedName(newName) + ": ";
    if (const auto fault = NameFault(newName)) {
        return Refusal(FileOutcome::BadName, prefix + *fault);
    }
    if (newName == oldName) {
        return {};
    }
    const FileOperationResult renamed = RenameNoReplace(path, FolderPart(path) + newName);
    if (renamed.outcome == FileOutcome::NameTaken) {
        return Refusal(FileOutcome::NameTaken,
                       prefix + "A file or folder of that name already exists.", renamed.error);
    }
    if (!renamed.Done()) {
        return Refusal(FileOutcome::Failed, prefix + ErrnoText(renamed.error) + ".", renamed.error);
    }
    return {};
}

} // namespace quarn

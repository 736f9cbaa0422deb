#pragma once

#include "platform/FileOperationResult.h"

#include <string>

namespace quarn {

// What lstat sees at a path; a symbolic link is never followed.
enum class EntryKind {
    None,    // nothing there, an empty path, or a path that cannot be looked up
    Folder,  // a directory
    File,    // a regular file
    Link,    // a symbolic link, dangling or not
    Special, // a FIFO, socket or device
};
EntryKind KindOfEntry(const std::string& path);

// Gives the entry at from the name to, never replacing an entry there (NameTaken). Where the file
// system has no rename flags (EINVAL), a hard link, which never replaces either, then the unlink
// of the old name; the link is undone when the old name cannot go. The folders of both names
// are then flushed, so the change survives a crash.
FileOperationResult RenameNoReplace(const std::string& from, const std::string& to);

// Unlinks the entry at path (a link itself, never its target) and flushes its folder.
FileOperationResult RemoveFile(const std::string& path);

// Removes the folder at path only when it is empty (ENOTEMPTY otherwise, ENOTDIR for a link)
// and flushes the folder that held it.
FileOperationResult RemoveEmptyFolder(const std::string& path);

// fsync of the folder that holds path, so that a name made or removed in it is on disk. File
// systems that cannot flush a folder (EINVAL) count as flushed.
FileOperationResult SyncFolderOf(const std::string& path);

} // namespace quarn

#pragma once

#include "platform/FileOperationResult.h"

#include <string>

namespace quarn {

// Copies the entry at source (a file, a folder with everything in it, or a link as a link) to
// the new path target. Never replaces: an entry at target, or one that appears there while
// the copy runs, refuses it. Files are staged and committed whole and flushed, with their
// permission bits; a folder is filled under a hidden staging name beside target and takes its
// name only once it is complete and flushed, so that no partial copy ever stands under target,
// also after a kill. A failure removes everything this copy made and leaves the source alone.
// A folder is never copied into itself or into a folder below it.
FileOperationResult CopyEntry(const std::string& source, const std::string& target);

// Gives the entry at source the path target, never replacing an entry there. On one file
// system a rename; across file systems a copy as above that is flushed complete before the
// original is removed, and only what was copied and has not changed since is removed. A
// folder is never moved into itself or into a folder below it; a move onto its own path
// changes nothing.
FileOperationResult MoveEntry(const std::string& source, const std::string& target);

} // namespace quarn

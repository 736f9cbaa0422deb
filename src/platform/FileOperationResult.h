#pragma once

#include <string>
#include <utility>

namespace quarn {

// How a file operation ended. Nothing is ever overwritten: a taken name is a refusal, not a
// replacement.
enum class FileOutcome {
    Done,
    NameTaken,   // an entry of the target name exists
    IntoItself,  // a folder would go into itself or into a folder below it
    BadName,     // a new name the file system cannot take as one name
    NoTrash,     // no trash folder this user may use on the item's volume
    SpecialFile, // a pipe, socket or device: its contents cannot be copied
    SourceKept,  // moved across volumes, but the original could not be removed entirely
    Failed,      // the system refused (error holds the errno)
};

// What every file operation of the platform core answers: the staged files and folders, the
// rename and removal steps (SafeFile.h) and the entry operations (copy, move, link, rename,
// trash). A refusal is a result, never an exception; a caller that has nothing to do about one
// says so with (void).
struct [[nodiscard]] FileOperationResult {
    FileOutcome outcome = FileOutcome::Done;
    int error = 0; // the errno behind the outcome, when a system call gave one
    // For the user, naming the entries: set by the entry operations, which know what the user
    // asked for; empty when done, and from the steps, whose callers word their own messages.
    std::string message;

    bool Done() const { return outcome == FileOutcome::Done; }
};

// A step's result from the errno of the system call that ended it (0: done): NameTaken for
// EEXIST, else Failed; no message.
FileOperationResult ErrnoResult(int error);

inline FileOperationResult Refusal(FileOutcome outcome, std::string message, int error = 0) {
    return {outcome, error, std::move(message)};
}

// A path or name as messages show it: in single quotes, a NUL byte written as "\0".
std::string QuotedName(const std::string& name);

} // namespace quarn

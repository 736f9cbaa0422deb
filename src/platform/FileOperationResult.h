#pragma once

#include <string>

namespace quarn {

// How a copy, move, rename or trash ended. Nothing is ever overwritten: a taken name is a
// refusal, not a replacement.
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

struct FileOperationResult {
    FileOutcome outcome = FileOutcome::Done;
    int error = 0;       // the errno behind the outcome, when a system call gave one
    std::string message; // for the user, naming the entries; empty when done

    bool Done() const { return outcome == FileOutcome::Done; }
};

inline FileOperationResult Refusal(FileOutcome outcome, std::string message, int error = 0) {
    return {outcome, error, std::move(message)};
}

// A path or name as messages show it: in single quotes, a NUL byte written as "\0".
std::string QuotedName(const std::string& name);

} // namespace quarn

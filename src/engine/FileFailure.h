#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarn {

// Why the work on one file failed. Each failure is worded once, by FailureMessage.
enum class FailureKind {
    InUse,              // cannot be opened or locked
    NotRegularFile,     // a folder, link, FIFO, socket or device
    NotFound,           // gone before it could be opened
    CreateFailed,       // the output cannot be made
    DiscFull,           // ENOSPC or EDQUOT, or a flush found the device full
    NotValid,           // too short to be a container
    InvalidPassword,    // the stored password differs
    Corrupt,            // a container that the writer never makes
    TooLarge,           // a source of 2 GB or more
    UnstorablePassword, // the reader could not find the password again
    UnstorableName,     // the reader could not find the name again, or would not accept it
    // The source or the wiped file is no longer the file read, as it was: kept.
    ChangedWhileEncrypted,
    ChangedWhileDecrypted,
    ChangedWhileWiped,
    SystemReason, // any other system error: its own text
};

struct FileFailure {
    FailureKind kind;
    int error = 0; // the errno value behind SystemReason and NotFound
};

// A step that answers nothing when it succeeded.
using StepFailure = std::optional<FileFailure>;

// The failure for a system error: DiscFull for ENOSPC and EDQUOT, NotFound for ENOENT, else
// SystemReason.
FileFailure SystemFailure(int error);

// "Unable to <verb> file '<name>': <cause>", verb being "encrypt", "decrypt", "wipe" or
// "delete".
std::string FailureMessage(std::string_view verb, std::string_view name,
                           const FileFailure& failure);

} // namespace quarn

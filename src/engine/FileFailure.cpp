#include "engine/FileFailure.h"

#include "platform/PosixFile.h"

#include <cerrno>

namespace quarn {

namespace {
std::string CauseText(const FileFailure& failure) {
    switch (failure.kind) {
    case FailureKind::InUse:
        return "The file may be in use by another program.";
    case FailureKind::NotRegularFile:
        return "It is not a regular file.";
    case FailureKind::CreateFailed:
        return "The disc may be full or write protected.";
    case FailureKind::DiscFull:
        return "The disc may be full.";
    case FailureKind::NotValid:
        return "Not a valid Quarn! file.";
    case FailureKind::InvalidPassword:
        return "Invalid password.";
    case FailureKind::Corrupt:
        return "The file is corrupt.";
    case FailureKind::TooLarge:
        return "Files of 2 GB or more cannot be encrypted.";
    case FailureKind::UnstorablePassword:
        return "The password holds a character that cannot be stored in an encrypted file.";
    case FailureKind::UnstorableName:
        return "The file name cannot be stored in an encrypted file.";
    case FailureKind::ChangedWhileEncrypted:
        return "It changed while it was being encrypted and was left as it is.";
    case FailureKind::ChangedWhileDecrypted:
        return "It changed while it was being decrypted and was left as it is.";
    case FailureKind::ChangedWhileWiped:
        return "It changed while it was being wiped and was not deleted.";
    case FailureKind::NotFound:
    case FailureKind::SystemReason:
        break;
    }
    return ErrnoText(failure.error) + ".";
}
} // namespace

FileFailure SystemFailure(int error) {
    if (error == ENOSPC || error == EDQUOT) {
        return {FailureKind::DiscFull};
    }
    return {error == ENOENT ? FailureKind::NotFound : FailureKind::SystemReason, error};
}

std::string FailureMessage(std::string_view verb, std::string_view name,
                           const FileFailure& failure) {
    std::string text = "Unable to ";
    text.append(verb).append(" file '").append(name).append("': ").append(CauseText(failure));
    return text;
}

} // namespace quarn

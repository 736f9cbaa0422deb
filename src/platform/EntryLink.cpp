#include "platform/EntryLink.h"

#include "platform/PosixFile.h"
#include "platform/RealPaths.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace quarn {

namespace {

FileOperationResult LinkRefusal(FileOutcome outcome, const std::string& source,
                                const std::string& target, const std::string& reason,
                                int error = 0) {
    return Refusal(outcome,
                   "Unable to link " + QuotedName(target) + " to " + QuotedName(source) + ": " +
                       reason,
                   error);
}

FileOperationResult SystemRefusal(int error, const std::string& source, const std::string& target) {
    return LinkRefusal(error == EEXIST ? FileOutcome::NameTaken : FileOutcome::Failed, source,
                       target, ErrnoText(error) + ".", error);
}

} // namespace

FileOperationResult LinkEntry(const std::string& source, const std::string& target) {
    struct stat info {};
    if (::lstat(source.c_str(), &info) != 0) {
        return SystemRefusal(errno, source, target);
    }
    const auto sourceFolder = RealPath(FolderPart(source));
    if (!sourceFolder) {
        return SystemRefusal(errno, source, target);
    }
    if (S_ISDIR(info.st_mode) && FolderLiesWithin(FolderPart(target), source)) {
        return LinkRefusal(FileOutcome::IntoItself, source, target,
                           "The destination folder is the folder itself or lies inside it.");
    }
    const std::string absolute =
        (*sourceFolder == "/" ? "" : *sourceFolder) + "/" + NamePart(source);
    if (::symlink(absolute.c_str(), target.c_str()) != 0) {
        return SystemRefusal(errno, source, target);
    }
    return {};
}

} // namespace quarn

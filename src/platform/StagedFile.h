#pragma once

#include "platform/FileOperationResult.h"
#include "platform/PosixFile.h"

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace quarn {

// A new file that is written in full before it takes its name. It is staged without any name
// (O_TMPFILE) in the folder of its path, so a crash or a kill leaves nothing behind; only where
// the file system refuses unnamed files is it staged under a fresh "quarn-XXXXXX.part" name
// there instead, holding the staging lock (StagingLock.h), after the abandoned staging files of
// that folder are removed (StagedFileSweep.h). Nothing under the final path is touched before a
// commit. A staged file that was not committed is rolled back when the object goes.
class StagedFile {
public:
    StagedFile() = default;
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Stages a file for path, mode 0600 until the commit gives it the permission bits (where
    // the file system keeps no modes it stays 0600 or the mount's, never wider). ENAMETOOLONG when
    // the file system could never hold a file under path, before anything is written.
    FileOperationResult Open(const std::string& path, mode_t permissions);

    const std::string& Path() const { return path_; }
    bool IsUnnamed() const { return stagedName_.empty(); }

    FileOperationResult Write(const void* data, std::size_t count);

    // Flushes the file, links it under Path() without replacing anything there, flushes the
    // folder and closes the file. NameTaken: the file stays staged, whole, for CommitAs or
    // Rollback. Any other failure rolls the file back.
    FileOperationResult Commit();
    // Commit under another path, which may lie in another folder or on another file system.
    FileOperationResult CommitAs(const std::string& path);
    // Commit that replaces whatever is at Path() in one step: readers see the old file or the
    // new one, never a mix.
    FileOperationResult CommitReplacing();

    // Discards the staged file; a committed file stays.
    void Rollback();

private:
    // These steps answer the errno that stopped them, 0 when done.
    int OpenUnnamed(const std::string& folder);
    int OpenNamed(const std::string& folder);
    int LinkUnnamed(const std::string& path);
    int PlaceUnder(const std::string& path, bool replace);
    int Finish(const std::string& path);

    FileOperationResult CopyInto(const std::string& path);
    void RemoveStagedName();

    std::string path_;
    std::string stagedName_; // empty while the file has no name
    UniqueFd fd_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    mode_t permissions_ = 0;
};

} // namespace quarn

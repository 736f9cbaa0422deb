#pragma once

#include "platform/FileOperationResult.h"
#include "platform/PosixFile.h"

#include <string>

namespace quarn {

// A folder that is filled under a hidden staging name (".quarn-XXXXXX.part") beside its final
// path and takes that path only once it is complete, never replacing anything there. The
// staging folder is private (0700) and holds the staging lock (StagingLock.h) for as long as
// this object holds it: a staging folder whose lock can be taken is one whose writer is gone,
// and the next Open in the same folder removes it with everything in it. A staging folder that was
// not committed is removed, with its contents, when the object goes.
class StagedFolder {
public:
    StagedFolder() = default;
    ~StagedFolder();
    StagedFolder(const StagedFolder&) = delete;
    StagedFolder& operator=(const StagedFolder&) = delete;

    // Removes the staging folders of writers that are gone from the folder of path, then makes
    // and locks a fresh one there. ENAMETOOLONG when the file system could never hold a folder
    // under path, before anything is made.
    FileOperationResult Open(const std::string& path);

    // Where the contents go until the commit.
    const std::string& StagingPath() const { return staging_; }

    // Gives the staging folder its final path without replacing anything there (NameTaken: the
    // staging folder stays for Discard) and flushes the folder that holds it.
    FileOperationResult Commit();

    // Removes the staging folder with everything in it; a committed folder stays.
    void Discard();

private:
    std::string path_;
    std::string staging_; // empty once committed or discarded
    UniqueFd fd_;         // the staging folder, holding its lock
};

// Whether name is one that StagedFolder gives its staging folders.
bool IsStagingFolderName(const std::string& name);

// Removes from folder the staging folders of StagedFolder whose writers are gone: folders of
// this user under a staging name whose lock can be taken, with everything in them. Links in
// them are removed, never followed; nothing on another file system is touched.
void RemoveDeadStagingFolders(const std::string& folder);

} // namespace quarn

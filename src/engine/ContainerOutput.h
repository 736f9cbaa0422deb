#pragma once

#include "platform/PosixFile.h"

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace quarn {

// A procedure's output, written under a fresh temporary name in the folder of its final path
// and moved there only when complete. Until Commit succeeds, the final path is never touched;
// an output that is not committed is removed when the object goes.
class ContainerOutput {
public:
    // Creates the temporary file (exclusively, never through a link) with the given
    // permission bits. Throws ContainerFailure CreateFailedText, also when the file system
    // cannot hold a file under path (name or path too long).
    ContainerOutput(std::string path, mode_t permissions);
    ~ContainerOutput();
    ContainerOutput(const ContainerOutput&) = delete;
    ContainerOutput& operator=(const ContainerOutput&) = delete;

    // Writes all count bytes; throws IoFailure on any error.
    void Write(const void* data, std::size_t count);
    // Flushes and closes the file, gives it its final name without replacing anything there
    // and flushes the folder. Throws IoFailure; the output is then removed.
    void Commit();

private:
    void MoveToFinalName();
    void RemoveIfOurs(const std::string& path) const;

    std::string path_;
    std::string livePath_; // where our file is now: the temporary name, then path_
    UniqueFd fd_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    bool committed_ = false;
};

} // namespace quarn

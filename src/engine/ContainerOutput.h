#pragma once

#include "engine/Container.h"
#include "engine/FileFailure.h"
#include "platform/StagedFile.h"

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace quarn {

// A procedure's output: staged in the folder of its path and named only when complete, so
// nothing partial ever exists under any name. An output that is not committed is discarded
// when the object goes.
class ContainerOutput {
public:
    // CreateFailed when the output cannot be staged, also when the file system could never
    // hold a file under path (name or path too long).
    StepFailure Open(const std::string& path, mode_t permissions);
    StepFailure Write(const void* data, std::size_t count);

    // Flushes the output and gives it its name without replacing anything there. A name that
    // another program took meanwhile goes to chooseOutputPath, which answers the path to use
    // instead or nothing to skip the file: the output is then discarded without a failure,
    // and Committed() stays false.
    StepFailure Commit(const ChooseOutputPath& chooseOutputPath);

    bool Committed() const { return committed_; }
    // Where the output went (after Commit) or is to go.
    const std::string& Path() const { return path_; }

private:
    StagedFile file_;
    std::string path_;
    bool committed_ = false;
};

} // namespace quarn

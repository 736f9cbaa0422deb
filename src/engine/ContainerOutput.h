#pragma once

#include "engine/Container.h"
#include "engine/FileFailure.h"
#include "platform/StagedFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quarn {

class ContainerJob;

// A procedure's output: staged in the folder of its path and named only when complete, so
// nothing partial ever exists under any name. Written to the file WriteBehind bytes at a time.
// An output that is not committed is discarded when the object goes.
class ContainerOutput {
public:
    static constexpr std::size_t WriteBehind = std::size_t{1} << 16;

    // CreateFailed when the output cannot be staged, also when the file system could never
    // hold a file under path (name or path too long).
    StepFailure Open(const std::string& path, mode_t permissions);
    // Takes the bytes; a failure to write them may show here or at a later call.
    StepFailure Write(const void* data, std::size_t count);

    // Flushes the output and gives it its name without replacing anything there, waiting for
    // both on a helper thread while the window answers. A name that another program took
    // meanwhile goes to chooseOutputPath, which answers the path to use instead or nothing to
    // skip the file: Committed() then stays false, without a failure. A cancel raised by the
    // time the output has its name takes that name away again: Committed() stays false.
    StepFailure Commit(ContainerJob& job, const ChooseOutputPath& chooseOutputPath);
    // Discards an output that was not committed, on a helper thread while the window answers:
    // a large file takes a while to free.
    void Discard(ContainerJob& job);

    bool Committed() const { return committed_; }
    // Where the output went (after Commit) or is to go.
    const std::string& Path() const { return path_; }

private:
    StepFailure WritePending();

    StagedFile file_;
    std::string path_;
    std::vector<std::uint8_t> pending_; // taken, not yet written to the file
    bool committed_ = false;
};

} // namespace quarn

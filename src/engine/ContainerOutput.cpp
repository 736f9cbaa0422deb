#include "engine/ContainerOutput.h"

#include "engine/ContainerJob.h"
#include "platform/SafeFile.h"

#include <algorithm>

namespace quarn {

StepFailure ContainerOutput::Open(const std::string& path, mode_t permissions) {
    path_ = path;
    pending_.reserve(WriteBehind);
    if (!file_.Open(path, permissions).Done()) {
        return FileFailure{FailureKind::CreateFailed};
    }
    return std::nullopt;
}

StepFailure ContainerOutput::Write(const void* data, std::size_t count) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (count > 0) {
        const std::size_t part = std::min(count, WriteBehind - pending_.size());
        pending_.insert(pending_.end(), bytes, bytes + part);
        bytes += part;
        count -= part;
        if (pending_.size() == WriteBehind) {
            if (auto failure = WritePending()) {
                return failure;
            }
        }
    }
    return std::nullopt;
}

StepFailure ContainerOutput::WritePending() {
    const FileOperationResult written = file_.Write(pending_.data(), pending_.size());
    pending_.clear();
    if (!written.Done()) {
        return SystemFailure(written.error);
    }
    return std::nullopt;
}

StepFailure ContainerOutput::Commit(ContainerJob& job, const ChooseOutputPath& chooseOutputPath) {
    if (auto failure = WritePending()) {
        return failure;
    }
    FileOperationResult committed = job.WaitAnswering([this] { return file_.Commit(); });
    while (committed.outcome == FileOutcome::NameTaken) {
        const auto other = chooseOutputPath(path_);
        if (!other) {
            return std::nullopt;
        }
        path_ = *other;
        committed = job.WaitAnswering([this] { return file_.CommitAs(path_); });
    }
    if (!committed.Done()) {
        return SystemFailure(committed.error);
    }
    if (job.CancelRequested()) {
        // Where the name cannot be taken away the complete output stays, and so does the
        // source: the file only does not count as done.
        (void)job.WaitAnswering([this] { return RemoveFile(path_); });
        return std::nullopt;
    }
    committed_ = true;
    return std::nullopt;
}

void ContainerOutput::Discard(ContainerJob& job) {
    if (!committed_) {
        (void)job.WaitAnswering([this] {
            file_.Rollback();
            return FileOperationResult{};
        });
    }
}

} // namespace quarn

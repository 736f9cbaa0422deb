#include "engine/ContainerOutput.h"

#include <cerrno>

namespace quarn {

StepFailure ContainerOutput::Open(const std::string& path, mode_t permissions) {
    path_ = path;
    if (file_.Open(path, permissions) != 0) {
        return FileFailure{FailureKind::CreateFailed};
    }
    return std::nullopt;
}

StepFailure ContainerOutput::Write(const void* data, std::size_t count) {
    if (const FileError error = file_.Write(data, count)) {
        return SystemFailure(error);
    }
    return std::nullopt;
}

StepFailure ContainerOutput::Commit(const ChooseOutputPath& chooseOutputPath) {
    FileError error = file_.Commit();
    while (error == EEXIST) {
        const auto other = chooseOutputPath(path_);
        if (!other) {
            file_.Rollback();
            return std::nullopt;
        }
        path_ = *other;
        error = file_.CommitAs(path_);
    }
    if (error != 0) {
        return SystemFailure(error);
    }
    committed_ = true;
    return std::nullopt;
}

} // namespace quarn

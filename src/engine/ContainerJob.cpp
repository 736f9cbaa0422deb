#include "engine/ContainerJob.h"

#include "engine/FileWorkView.h"
#include "engine/ProgressMath.h"
#include "engine/WaitAnswering.h"
#include "platform/MessageService.h"

namespace quarn {

bool ContainerJob::CancelRequested() const {
    return view_.CancelRequested();
}

void ContainerJob::ShowProgress(std::int64_t processed, std::int64_t size) {
    view_.SetFileProgress(
        RoundedPercent(static_cast<std::uint64_t>(processed), static_cast<std::uint64_t>(size)));
    pacer_.Pump();
}

FileOperationResult ContainerJob::WaitAnswering(const std::function<FileOperationResult()>& work) {
    return quarn::WaitAnswering(view_, work);
}

void ContainerJob::Warn(const FileFailure& failure) {
    view_.Messages().Show(MessageKind::Warning, FailureMessage(verb_, name_, failure),
                          MessageButtons::Ok);
}

} // namespace quarn

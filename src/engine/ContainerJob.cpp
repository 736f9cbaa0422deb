#include "engine/ContainerJob.h"

#include "engine/FileWorkView.h"
#include "engine/ProgressMath.h"
#include "platform/MessageService.h"

namespace quarn {

bool ContainerJob::CancelRequested() const {
    return view_.CancelRequested();
}

void ContainerJob::ShowProgress(std::int64_t processed, std::int64_t size) {
    view_.SetFileProgress(
        RoundedPercent(static_cast<std::uint64_t>(processed), static_cast<std::uint64_t>(size)));
    view_.ProcessMessages();
}

void ContainerJob::Warn(std::string_view cause) {
    std::string text = "Unable to ";
    text.append(verb_).append(" file '").append(name_).append("': ").append(cause);
    view_.Messages().Show(MessageKind::Warning, text, MessageButtons::Ok);
}

} // namespace quarn

#include "engine/ContainerJob.h"

#include "engine/FileWorkView.h"
#include "platform/MessageService.h"

#include <algorithm>
#include <cmath>

namespace quarn {

bool ContainerJob::CancelRequested() const {
    return view_.CancelRequested();
}

void ContainerJob::ShowProgress(std::int64_t processed, std::int64_t size) {
    const double percent = std::nearbyint(static_cast<double>(processed) * 100.0 /
                                          static_cast<double>(std::max<std::int64_t>(size, 1)));
    view_.SetFileProgress(static_cast<int>(std::clamp(percent, 0.0, 100.0)));
    view_.ProcessMessages();
}

void ContainerJob::Warn(std::string_view cause) {
    std::string text = "Unable to ";
    text.append(verb_).append(" file '").append(name_).append("': ").append(cause);
    view_.Messages().Show(MessageKind::Warning, text, MessageButtons::Ok);
}

} // namespace quarn

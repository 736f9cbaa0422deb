#include "namespace/RefusalMessage.h"

#include "platform/MessageService.h"

namespace quarn {

bool ShowRefusal(const std::string& message, bool moreFollow) {
    return Messages().Show(MessageKind::Error, message,
                           moreFollow ? MessageButtons::OkCancel : MessageButtons::Ok) !=
           MessageAnswer::Cancel;
}

} // namespace quarn

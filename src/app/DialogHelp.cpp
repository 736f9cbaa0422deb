#include "app/DialogHelp.h"

#include "app/CaptionHelpButton.h"
#include "app/common/KeyPreview.h"

namespace quarn {

KeyPreview& AddDialogHelp(QWidget& dialog, std::string keyTopic,
                          std::function<void()> captionHelp) {
    auto* preview = new KeyPreview(&dialog, std::move(keyTopic));
    new CaptionHelpButton(&dialog, std::move(captionHelp));
    return *preview;
}

} // namespace quarn

#pragma once

#include "platform/MessageService.h"

namespace quarn {

// Modal QMessageBox and Qt's own save and folder dialogs, owned by the active window.
class QtMessageService : public MessageService {
public:
    MessageAnswer Show(MessageKind kind, const std::string& text, MessageButtons buttons) override;
    std::optional<std::string> AskSaveFile(const SaveDialogRequest& request) override;
    std::optional<std::string> AskFolder(const std::string& instruction) override;
};

} // namespace quarn

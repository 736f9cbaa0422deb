#include "ScriptedMessages.h"

namespace quarn::test {

MessageAnswer ScriptedMessages::Show(MessageKind kind, const std::string& text,
                                     MessageButtons buttons) {
    shown.push_back({kind, text, buttons});
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    if (answers_.empty()) {
        return MessageAnswer::No;
    }
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedMessages::AskSaveFile(const SaveDialogRequest& request) {
    saveRequests.push_back(request);
    if (savePaths_.empty()) {
        return std::nullopt;
    }
    auto path = savePaths_.front();
    savePaths_.pop_front();
    return path;
}

std::vector<std::string> ScriptedMessages::Texts() const {
    std::vector<std::string> texts;
    for (const auto& message : shown) {
        texts.push_back(message.text);
    }
    return texts;
}

ScopedScriptedMessages::ScopedScriptedMessages() {
    auto scripted = std::make_unique<ScriptedMessages>();
    scripted_ = scripted.get();
    previous_ = InstallMessageService(std::move(scripted));
}

ScopedScriptedMessages::~ScopedScriptedMessages() {
    InstallMessageService(std::move(previous_));
}

} // namespace quarn::test

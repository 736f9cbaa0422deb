#include "ScriptedMessages.h"

namespace quarn::test {

template <typename Answer>
Answer ScriptedMessages::Next(std::deque<Answer>& queue, Answer whenEmpty) {
    if (queue.empty()) {
        return whenEmpty;
    }
    Answer answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

MessageAnswer ScriptedMessages::Show(MessageKind kind, const std::string& text,
                                     MessageButtons buttons) {
    shown.push_back({kind, text, buttons});
    switch (buttons) {
    case MessageButtons::Ok:
        break;
    case MessageButtons::YesNo:
        return Next(answers_, MessageAnswer::No);
    case MessageButtons::OkCancel:
        return Next(answers_, MessageAnswer::Ok);
    }
    return MessageAnswer::Ok;
}

std::optional<std::string> ScriptedMessages::AskSaveFile(const SaveDialogRequest& request) {
    saveRequests.push_back(request);
    return Next<std::optional<std::string>>(savePaths_, std::nullopt);
}

std::optional<std::string> ScriptedMessages::AskFolder(const std::string& instruction) {
    folderRequests.push_back(instruction);
    return Next<std::optional<std::string>>(folders_, std::nullopt);
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

#pragma once

#include "platform/MessageService.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace quarn::test {

struct ShownMessage {
    MessageKind kind;
    std::string text;
    MessageButtons buttons;
};

// Answers message boxes, save dialogs and folder pickers from queues the test fills, and
// records every request. OK boxes answer Ok and leave the queue alone, so an unexpected error
// box cannot take the answer meant for a question; an empty queue answers Yes/No boxes with
// No, OK/Cancel boxes with Ok, and save dialogs and folder pickers with a cancel.
class ScriptedMessages : public MessageService {
public:
    MessageAnswer Show(MessageKind kind, const std::string& text, MessageButtons buttons) override;
    std::optional<std::string> AskSaveFile(const SaveDialogRequest& request) override;
    std::optional<std::string> AskFolder(const std::string& instruction) override;

    void QueueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    void QueueSavePath(std::optional<std::string> path) { savePaths_.push_back(std::move(path)); }
    void QueueFolder(std::optional<std::string> path) { folders_.push_back(std::move(path)); }

    std::vector<ShownMessage> shown;
    std::vector<SaveDialogRequest> saveRequests;
    std::vector<std::string> folderRequests; // the instructions, in order
    std::vector<std::string> Texts() const;

private:
    template <typename Answer> static Answer Next(std::deque<Answer>& queue, Answer whenEmpty);

    std::deque<MessageAnswer> answers_;
    std::deque<std::optional<std::string>> savePaths_;
    std::deque<std::optional<std::string>> folders_;
};

// Installs a ScriptedMessages as the process-wide service for the object's lifetime.
class ScopedScriptedMessages {
public:
    ScopedScriptedMessages();
    ~ScopedScriptedMessages();
    ScriptedMessages& operator*() { return *scripted_; }
    ScriptedMessages* operator->() { return scripted_; }

private:
    ScriptedMessages* scripted_;
    std::unique_ptr<MessageService> previous_;
};

} // namespace quarn::test

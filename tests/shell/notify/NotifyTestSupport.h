#pragma once

#include "shell/notify/WindowMessage.h"

#include <QObject>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace quarn::test {

using namespace std::chrono_literals;

// Handles events on this thread until done() holds or the time runs out; answers done().
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s);

// The entries of /proc/self/fd and of /proc/self/task.
int OpenDescriptorCount();
int ThreadCount();

// A control's window as the change thread sees it: records every message of one number.
class MessageRecorder : public QObject {
public:
    explicit MessageRecorder(unsigned msg = WM_CHANGENOTIFY) : msg_(msg) {}

    std::vector<TMessage> messages;
    // The slots of the messages, in the order they came.
    std::vector<int> Slots() const;
    bool WaitForSlot(int slot, std::chrono::milliseconds limit = 10s);

protected:
    bool event(QEvent* event) override;

private:
    unsigned msg_;
};

// Makes a file with some bytes.
void Touch(const std::string& path);

} // namespace quarn::test

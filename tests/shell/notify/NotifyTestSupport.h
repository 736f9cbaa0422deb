#pragma once

#include "ChangeWait.h"
#include "shell/notify/WindowMessage.h"

#include <QObject>
#include <chrono>
#include <string>
#include <vector>

namespace quarn::test {

using namespace std::chrono_literals;

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
    bool WaitForSlot(int slot);

protected:
    bool event(QEvent* event) override;

private:
    unsigned msg_;
};

// Makes a file with some bytes.
void Touch(const std::string& path);

} // namespace quarn::test

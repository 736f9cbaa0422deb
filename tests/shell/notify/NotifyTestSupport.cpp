#include "NotifyTestSupport.h"

#include "TestFiles.h"

#include <QCoreApplication>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace quarn::test {

namespace {

// The interface thread's application, for the whole test program.
class CoreApplication : public testing::Environment {
public:
    void SetUp() override { application_ = std::make_unique<QCoreApplication>(argc_, argv_); }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[12] = "test_notify";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> application_;
};

[[maybe_unused]] testing::Environment* const coreApplication =
    testing::AddGlobalTestEnvironment(new CoreApplication);

} // namespace

namespace {
int EntryCount(const char* folder) {
    const auto entries = std::filesystem::directory_iterator(folder);
    return static_cast<int>(std::distance(begin(entries), end(entries)));
}
} // namespace

int OpenDescriptorCount() {
    return EntryCount("/proc/self/fd");
}

int ThreadCount() {
    return EntryCount("/proc/self/task");
}

std::vector<int> MessageRecorder::Slots() const {
    std::vector<int> slotNumbers;
    for (const TMessage& message : messages) {
        slotNumbers.push_back(static_cast<int>(message.WParam));
    }
    return slotNumbers;
}

bool MessageRecorder::WaitForSlot(int slot) {
    return QTest::qWaitFor(
        [&] {
            return std::any_of(messages.begin(), messages.end(), [&](const TMessage& message) {
                return message.WParam == static_cast<std::uintptr_t>(slot);
            });
        },
        ChangeWaitMs);
}

bool MessageRecorder::event(QEvent* event) {
    const TMessage* message = MessageOf(event);
    if (!message || message->Msg != msg_) {
        return QObject::event(event);
    }
    messages.push_back(*message);
    return true;
}

void Touch(const std::string& path) {
    WriteFileBytes(path, "x");
}

} // namespace quarn::test

// Device changes: the handler's deferred delivery, a subscriber list that changes while it is
// walked, volumes of a test mount table, and the re-validation of Computer.
#include "ChangeWait.h"
#include "ScopedEnvironment.h"
#include "ScriptedMessages.h"
#include "TestFiles.h"
#include "namespace/MountTable.h"
#include "shell/common/ShellErrors.h"
#include "shell/devices/DeviceChangeHandler.h"
#include "shell/devices/Revalidation.h"

#include <QTest>
#include <algorithm>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

namespace quarn::test {
namespace {

using testing::ElementsAre;

// A control's subscription: records the wParam of each change, then runs onChange.
class Subscriber {
public:
    explicit Subscriber(TSCDeviceChangeHandler& handler) : handler_(handler) {
        handler_.Subscribe(Method());
    }
    ~Subscriber() { handler_.Unsubscribe(Method()); }
    Subscriber(const Subscriber&) = delete;
    Subscriber& operator=(const Subscriber&) = delete;

    TDeviceChangeMethod Method() { return DeviceChangeMethod<&Subscriber::DeviceChange>(this); }
    void DeviceChange(TSCDeviceChangeHandler*, TMessage& message) {
        received.push_back(message.WParam);
        if (onChange) {
            onChange();
        }
    }

    std::vector<std::uintptr_t> received;
    std::function<void()> onChange;

private:
    TSCDeviceChangeHandler& handler_;
};

TMessage DeferredChange(std::uintptr_t wParam) {
    return {WM_DEFERREDDEVICECHANGE, wParam, 0, 0};
}

TEST(DeviceChangeHandler, AnswersAChangeAtOnceAndHandsItOnLater) {
    TSCDeviceChangeHandler handler;
    Subscriber first(handler);
    Subscriber second(handler);
    TMessage change{WM_DEVICECHANGE, 0x7, 0, -1};
    handler.HiddenWindowProc(change);
    EXPECT_EQ(change.Result, 0);
    EXPECT_TRUE(first.received.empty());

    EXPECT_TRUE(QTest::qWaitFor([&] { return !second.received.empty(); }, ChangeWaitMs));
    EXPECT_THAT(first.received, ElementsAre(0x7u));
    EXPECT_THAT(second.received, ElementsAre(0x7u));
}

TEST(DeviceChangeHandler, KeepsEachSubscriptionAndRemovesTheFirstOfAMethod) {
    TSCDeviceChangeHandler handler;
    Subscriber twice(handler);
    handler.Subscribe(twice.Method());
    Subscriber other(handler);
    TMessage change = DeferredChange(DBT_DEVICEARRIVAL);
    handler.NotifySubscribers(change);
    EXPECT_EQ(twice.received.size(), 2u);

    handler.Unsubscribe(twice.Method());
    handler.Unsubscribe(TDeviceChangeMethod{});
    EXPECT_EQ(handler.SubscriberCount(), 2);
    EXPECT_THROW(handler.DeleteSubscriber(2), EListError);
    handler.DeleteSubscriber(1);
    handler.NotifySubscribers(change);
    EXPECT_EQ(twice.received.size(), 3u);
    EXPECT_EQ(other.received.size(), 1u);
}

// A subscriber's refresh may unsubscribe itself or another, destroy a control or add one.
TEST(DeviceChangeHandler, SkipsSubscribersThatLeaveDuringTheWalk) {
    TSCDeviceChangeHandler handler;
    Subscriber first(handler);
    Subscriber second(handler);
    auto destroyed = std::make_unique<Subscriber>(handler);
    Subscriber last(handler);
    std::unique_ptr<Subscriber> added;
    first.onChange = [&] {
        handler.Unsubscribe(first.Method());
        handler.Unsubscribe(second.Method());
        destroyed.reset();
        added = std::make_unique<Subscriber>(handler);
    };
    TMessage change = DeferredChange(DBT_DEVICEREMOVECOMPLETE);
    handler.NotifySubscribers(change);

    EXPECT_EQ(first.received.size(), 1u);
    EXPECT_TRUE(second.received.empty());
    EXPECT_EQ(last.received.size(), 1u);
    EXPECT_TRUE(added->received.empty());
    EXPECT_EQ(handler.SubscriberCount(), 2);
}

TEST(DeviceChangeHandler, ReportsALibraryErrorAndGoesOnButStopsAtAnyOther) {
    ScopedScriptedMessages messages;
    TSCDeviceChangeHandler handler;
    Subscriber failing(handler);
    Subscriber next(handler);
    failing.onChange = [] { throw std::runtime_error("Drive not ready"); };
    TMessage change = DeferredChange(DBT_DEVICEARRIVAL);
    handler.NotifySubscribers(change);
    EXPECT_THAT(messages->Texts(), ElementsAre("Drive not ready"));
    EXPECT_EQ(next.received.size(), 1u);

    failing.onChange = [] { throw 42; };
    EXPECT_THROW(handler.NotifySubscribers(change), int);
    EXPECT_EQ(next.received.size(), 1u);
}

// Reloads the process-wide mount table when the test's table is gone again.
struct TableReload {
    ~TableReload() { MountTable::Reload(); }
};

bool HasVolume(const std::string& mountPoint) {
    const auto volumes = MountTable::Volumes();
    return std::any_of(volumes.begin(), volumes.end(),
                       [&](const Volume& v) { return v.mountPoint == mountPoint; });
}

std::string Line(const std::string& mountPoint, const std::string& source) {
    return "30 1 0:99 / " + mountPoint + " rw,relatime shared:1 - ext4 " + source + " rw\n";
}

class TestMountTable : public testing::Test {
protected:
    TestMountTable() {
        WriteFileBytes(table, Base);
        MountTable::Reload();
    }

    const std::string Base = Line("/", "/dev/sda2");
    TableReload reload;
    TempDir dir;
    const std::string table = dir / "mountinfo";
    ScopedEnvironment environment{"QUARN_MOUNTINFO", table};
};

// Each subscriber re-validates Computer as the tree and the list do.
TEST_F(TestMountTable, ALineAddedAndRemovedIsOneArrivalAndOneRemoval) {
    TSCDeviceChangeHandler handler;
    Subscriber control(handler);
    std::vector<bool> seen;
    control.onChange = [&] {
        RevalidateMyComputer();
        seen.push_back(HasVolume("/mnt/usb"));
    };

    WriteFileBytes(table, Base + Line("/mnt/usb", "/dev/sdz1"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return control.received.size() == 1; }, ChangeWaitMs));
    WriteFileBytes(table, Base);
    ASSERT_TRUE(QTest::qWaitFor([&] { return control.received.size() == 2; }, ChangeWaitMs));
    EXPECT_THAT(control.received, ElementsAre(DBT_DEVICEARRIVAL, DBT_DEVICEREMOVECOMPLETE));
    EXPECT_THAT(seen, ElementsAre(true, false));
}

TEST_F(TestMountTable, RevalidationReadsTheTableUnlessSuspended) {
    WriteFileBytes(table, Base + Line("/mnt/usb", "/dev/sdz1"));
    {
        RevalidationSuspension outer;
        RevalidationSuspension inner;
        RevalidateMyComputer();
        EXPECT_FALSE(HasVolume("/mnt/usb"));
    }
    RevalidateMyComputer();
    EXPECT_TRUE(HasVolume("/mnt/usb"));
}

} // namespace
} // namespace quarn::test

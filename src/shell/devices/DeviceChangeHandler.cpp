#include "shell/devices/DeviceChangeHandler.h"

#include "namespace/MountTableWatcher.h"
#include "platform/gui/Guard.h"
#include "shell/common/ShellErrors.h"

#include <QCoreApplication>
#include <QObject>
#include <algorithm>
#include <exception>
#include <string>
#include <system_error>

namespace quarn {

class TSCDeviceChangeHandler::Window : public QObject {
public:
    explicit Window(TSCDeviceChangeHandler* handler) : handler_(handler) {}

protected:
    bool event(QEvent* event) override {
        const TMessage* posted = MessageOf(event);
        if (!posted) {
            return QObject::event(event);
        }
        TMessage message = *posted;
        RunGuarded([&] { handler_->HiddenWindowProc(message); });
        return true;
    }

private:
    TSCDeviceChangeHandler* handler_;
};

TSCDeviceChangeHandler::TSCDeviceChangeHandler() : window_(std::make_unique<Window>(this)) {
    QObject* window = window_.get();
    try {
        watcher_ = std::make_unique<MountTableWatcher>([window](const VolumeChange& change) {
            PostMessage(window, WM_DEVICECHANGE,
                        change.arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE, 0);
        });
    } catch (const std::system_error&) {
        // No mount table to watch: the controls go on without device changes.
    }
}

TSCDeviceChangeHandler::~TSCDeviceChangeHandler() = default;

void TSCDeviceChangeHandler::Subscribe(const TDeviceChangeMethod& method) {
    subscribers_.push_back({method, nextId_++});
}

void TSCDeviceChangeHandler::Unsubscribe(const TDeviceChangeMethod& method) {
    const auto entry = std::find_if(subscribers_.begin(), subscribers_.end(),
                                    [&](const Subscriber& s) { return s.method == method; });
    if (entry != subscribers_.end()) {
        subscribers_.erase(entry);
    }
}

void TSCDeviceChangeHandler::DeleteSubscriber(int index) {
    if (index < 0 || index >= SubscriberCount()) {
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
    subscribers_.erase(subscribers_.begin() + index);
}

bool TSCDeviceChangeHandler::IsSubscribed(std::uint64_t id) const {
    return std::any_of(subscribers_.begin(), subscribers_.end(),
                       [&](const Subscriber& s) { return s.id == id; });
}

// A subscriber may unsubscribe itself or another, or destroy a control, while it runs: the
// walk goes over the entries of its start and skips those that left meanwhile.
void TSCDeviceChangeHandler::NotifySubscribers(TMessage& message) {
    const std::vector<Subscriber> entries = subscribers_;
    for (const Subscriber& entry : entries) {
        if (!IsSubscribed(entry.id)) {
            continue;
        }
        try {
            entry.method.code(entry.method.object, this, message);
        } catch (const std::exception&) {
            ReportException(std::current_exception());
        }
    }
}

void TSCDeviceChangeHandler::HiddenWindowProc(TMessage& message) {
    if (message.Msg == WM_DEVICECHANGE) {
        PostMessage(window_.get(), WM_DEFERREDDEVICECHANGE, message.WParam, message.LParam);
        message.Result = 0;
    } else if (message.Msg == WM_DEFERREDDEVICECHANGE) {
        NotifySubscribers(message);
    }
}

namespace {
std::unique_ptr<TSCDeviceChangeHandler>& Instance() {
    static std::unique_ptr<TSCDeviceChangeHandler> instance;
    return instance;
}
} // namespace

TSCDeviceChangeHandler& DeviceChangeHandler() {
    auto& instance = Instance();
    if (!instance) {
        instance = std::make_unique<TSCDeviceChangeHandler>();
        qAddPostRoutine([] { Instance().reset(); });
    }
    return *instance;
}

} // namespace quarn

#pragma once

#include "shell/notify/WindowMessage.h"

#include <cstdint>
#include <memory>
#include <vector>

class QObject;

namespace quarn {

class MountTableWatcher;
class TSCDeviceChangeHandler;

// wParam of WM_DEVICECHANGE: a volume was mounted, a volume was unmounted.
inline constexpr std::uintptr_t DBT_DEVICEARRIVAL = 0x8000;
inline constexpr std::uintptr_t DBT_DEVICEREMOVECOMPLETE = 0x8004;
// The hidden window's own copy of a device change, handled after the change was answered.
inline constexpr unsigned WM_DEFERREDDEVICECHANGE = WM_USER + 100;

// A subscriber's method: code and object, equal when both are.
struct TDeviceChangeMethod {
    using Code = void (*)(void* object, TSCDeviceChangeHandler* sender, TMessage& message);
    Code code = nullptr;
    void* object = nullptr;
    bool operator==(const TDeviceChangeMethod&) const = default;
};

// DeviceChangeMethod<&TSCShellTree::DeviceChange>(this)
template <auto Method, typename Object> TDeviceChangeMethod DeviceChangeMethod(Object* object) {
    return {[](void* self, TSCDeviceChangeHandler* sender, TMessage& message) {
                (static_cast<Object*>(self)->*Method)(sender, message);
            },
            object};
}

// Hands every device change (a volume mounted or unmounted) to the subscribed controls,
// later, on the interface thread. Lives on the interface thread.
class TSCDeviceChangeHandler {
public:
    // Creates the hidden window and starts watching the mount table.
    TSCDeviceChangeHandler();
    ~TSCDeviceChangeHandler();
    TSCDeviceChangeHandler(const TSCDeviceChangeHandler&) = delete;
    TSCDeviceChangeHandler& operator=(const TSCDeviceChangeHandler&) = delete;

    // The same method may be subscribed twice.
    void Subscribe(const TDeviceChangeMethod& method);
    // Removes the first entry of the method; nothing when there is none.
    void Unsubscribe(const TDeviceChangeMethod& method);
    void DeleteSubscriber(int index);
    int SubscriberCount() const { return static_cast<int>(subscribers_.size()); }

    // Calls every subscriber in subscription order. One that raises a std::exception is
    // reported and the next is called; anything else ends the walk and propagates.
    void NotifySubscribers(TMessage& message);
    // WM_DEVICECHANGE is answered at once and posted to the window again as
    // WM_DEFERREDDEVICECHANGE, which notifies the subscribers.
    void HiddenWindowProc(TMessage& message);

private:
    class Window;
    struct Subscriber {
        TDeviceChangeMethod method;
        std::uint64_t id;
    };
    bool IsSubscribed(std::uint64_t id) const;

    std::unique_ptr<QObject> window_;
    std::vector<Subscriber> subscribers_;
    std::uint64_t nextId_ = 0;
    std::unique_ptr<MountTableWatcher> watcher_; // stopped first, before the window goes
};

// The process-wide handler: created on first use, on the interface thread, and freed when
// the application object goes.
TSCDeviceChangeHandler& DeviceChangeHandler();

} // namespace quarn

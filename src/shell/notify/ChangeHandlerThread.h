#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class QObject;

namespace quarn {

// Change handles per thread: with the action event, 64 objects to wait on.
inline constexpr int ChangeSlotCount = 63;

// The waits of the hand-over, of a watch's open and of the end, and a call the worker makes
// before each action (for tests that need a worker that does not answer).
struct ChangeThreadTiming {
    std::chrono::milliseconds handOverWait{2000};
    std::chrono::milliseconds endWait{30000};
    std::function<void()> beforeAction;
    // A folder's watch is opened on a thread of its own (on a hard network mount whose server
    // is gone the call waits for minutes); AddWatch waits this long for it.
    std::chrono::milliseconds openWait{50};
};

// The change-notification thread of one control: it waits on up to 63 change handles and an
// action event, and posts messageId (wParam = the slot) to the owner window for every
// change. Every operation but the thread body runs on the interface thread, one at a time.
class TChangeHandlerThread {
public:
    // Starts the thread. No owner window: no messages.
    TChangeHandlerThread(QObject* ownerWindow, unsigned messageId, ChangeThreadTiming timing = {});
    // Ends the thread, waiting for it up to the end wait. A thread that has not ended by
    // then keeps its handles and closes them when it ends; it posts nothing more.
    ~TChangeHandlerThread();
    TChangeHandlerThread(const TChangeHandlerThread&) = delete;
    TChangeHandlerThread& operator=(const TChangeHandlerThread&) = delete;

    // Watches path (a folder) for the changes in filter (FILE_NOTIFY_CHANGE_*). True when
    // the thread took the handle, with its slot; false with slot -1 for an empty path, a
    // folder that cannot be watched, all slots taken or no answer within the hand-over wait.
    // A folder whose watch takes longer than the open wait answers false at once, and its
    // watch joins the first free slot whenever it is open; asked for again meanwhile, that
    // open is not started twice.
    bool AddWatch(const std::string& path, std::uint32_t filter, int& slot, bool watchSubtree);
    // Closes the handle in one slot.
    void RemoveWatch(int slot);
    // Closes every slot; watches still opening are dropped when their open ends.
    void RemoveAllWatches();

private:
    class Worker;

    std::shared_ptr<Worker> worker_; // shared with the thread, which may outlive this object
    // Joins the threads of the opens that have ended.
    void JoinEndedOpens();

    std::chrono::milliseconds handOverWait_;
    std::chrono::milliseconds endWait_;
    std::chrono::milliseconds openWait_;
    std::thread thread_;
};

} // namespace quarn

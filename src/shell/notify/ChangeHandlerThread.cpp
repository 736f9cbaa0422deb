#include "shell/notify/ChangeHandlerThread.h"

#include "namespace/ChangeHandle.h"
#include "platform/EventFd.h"
#include "platform/Poll.h"
#include "shell/notify/WindowMessage.h"

#include <array>
#include <condition_variable>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

namespace quarn {

namespace {
enum class Action : std::uint8_t { AcceptPending = 0, CloseSlot = 1, CloseAll = 2, End = 3 };
}

// What the interface thread, the thread and the opens share. The hand-over fields, the
// opens and the owner are guarded by the lock; the slots belong to the thread alone. The last
// owner of the object closes every handle.
class TChangeHandlerThread::Worker {
public:
    Worker(QObject* ownerWindow, unsigned messageId, std::function<void()> beforeAction)
        : owner(ownerWindow), messageId_(messageId), beforeAction_(std::move(beforeAction)) {}

    // The open of one folder's own watch, on a thread of its own.
    struct Opening {
        explicit Opening(std::unique_ptr<ChangeHandle> opened) : handle(std::move(opened)) {}
        std::unique_ptr<ChangeHandle> handle;
        std::thread thread;
        bool ended = false;
        bool watched = false;
        bool late = false;  // AddWatch stopped waiting: the open hands its handle over itself
        bool wanted = true; // false once all watches were removed after it began
    };

    void Run();
    // The body of an open's thread.
    void Open(Opening& opening);
    // With the lock held: an open of the same watch that has not ended, or none.
    Opening* FindOpening(const ChangeHandle& like);
    // With the lock held: waits up to wait for the open to end; false when it did not.
    bool WaitForOpen(Opening& opening, std::chrono::milliseconds wait,
                     std::unique_lock<std::mutex>& lock);

    // Interface thread, with the lock held: hands the action over and waits until the thread
    // has done it; false when the wait ran out.
    bool Request(Action action, std::chrono::milliseconds wait, std::unique_lock<std::mutex>& lock);
    // Interface thread, with the lock held: hands the end over; true when the thread ended
    // within the wait.
    bool WaitForEnd(std::chrono::milliseconds wait, std::unique_lock<std::mutex>& lock);

    std::mutex lock;
    QObject* owner;
    std::unique_ptr<ChangeHandle> pending;
    int removeIndex = -1;
    int answerSlot = -1;
    std::list<Opening> openings;
    std::vector<std::unique_ptr<ChangeHandle>> lateWatches; // opened late, for the thread

private:
    void RunWatchLoop();
    bool PerformAction();
    // The first free slot takes the handle; -1 when all are taken (the handle stays).
    int TakeIntoFreeSlot(std::unique_ptr<ChangeHandle>& handle);
    void AcceptPendingWatch();
    void AcceptLateWatches();
    void CloseWatch(int slot);
    void CloseAllWatches();
    void CollectChanges(int slot);
    void SignalChange(int slot);

    const unsigned messageId_;
    const std::function<void()> beforeAction_;
    EventFd actionEvent_;
    std::condition_variable answered_;
    Action action_ = Action::AcceptPending;
    std::uint64_t requested_ = 0; // serial of the last action handed over
    std::uint64_t done_ = 0;      // serial of the last action done
    bool ended_ = false;
    std::array<std::unique_ptr<ChangeHandle>, ChangeSlotCount> slots_;
};

void TChangeHandlerThread::Worker::Run() {
    RunWatchLoop();
    std::lock_guard guard(lock);
    ended_ = true;
    answered_.notify_all();
}

void TChangeHandlerThread::Worker::RunWatchLoop() {
    std::vector<pollfd> waits;
    std::vector<int> slotOf;
    for (;;) {
        waits.assign(1, pollfd{actionEvent_.Fd(), POLLIN, 0});
        slotOf.assign(1, -1);
        for (int slot = 0; slot < ChangeSlotCount; ++slot) {
            if (slots_[slot]) {
                waits.push_back({slots_[slot]->Fd(), POLLIN, 0});
                slotOf.push_back(slot);
            }
        }
        if (WaitForAny(waits, -1) <= 0) {
            continue;
        }
        if (waits[0].revents) {
            if (!PerformAction()) {
                return;
            }
            continue;
        }
        for (std::size_t i = 1; i < waits.size(); ++i) {
            if (waits[i].revents & (POLLERR | POLLHUP | POLLNVAL)) {
                CloseWatch(slotOf[i]);
            } else if (waits[i].revents & POLLIN) {
                CollectChanges(slotOf[i]);
            }
        }
    }
}

// False for the end.
bool TChangeHandlerThread::Worker::PerformAction() {
    actionEvent_.Consume();
    if (beforeAction_) {
        beforeAction_();
    }
    std::lock_guard guard(lock);
    AcceptLateWatches();
    if (done_ == requested_) {
        return true; // the event of an action already done, or of a late watch
    }
    switch (action_) {
    case Action::End:
        return false;
    case Action::AcceptPending:
        AcceptPendingWatch();
        break;
    case Action::CloseSlot:
        CloseWatch(removeIndex);
        break;
    case Action::CloseAll:
        CloseAllWatches();
        break;
    }
    done_ = requested_;
    answered_.notify_all();
    return true;
}

int TChangeHandlerThread::Worker::TakeIntoFreeSlot(std::unique_ptr<ChangeHandle>& handle) {
    for (int slot = 0; slot < ChangeSlotCount; ++slot) {
        if (!slots_[slot]) {
            slots_[slot] = std::move(handle);
            return slot;
        }
    }
    return -1;
}

void TChangeHandlerThread::Worker::AcceptPendingWatch() {
    answerSlot = pending ? TakeIntoFreeSlot(pending) : -1;
}

// A late watch that finds no free slot is closed.
void TChangeHandlerThread::Worker::AcceptLateWatches() {
    for (std::unique_ptr<ChangeHandle>& handle : lateWatches) {
        TakeIntoFreeSlot(handle);
    }
    lateWatches.clear();
}

void TChangeHandlerThread::Worker::Open(Opening& opening) {
    const bool watched = opening.handle->WatchOwnFolder();
    std::lock_guard guard(lock);
    opening.ended = true;
    opening.watched = watched;
    if (opening.late) {
        if (watched && opening.wanted) {
            lateWatches.push_back(std::move(opening.handle));
            actionEvent_.Set();
        }
        opening.handle.reset();
    }
    answered_.notify_all();
}

TChangeHandlerThread::Worker::Opening*
TChangeHandlerThread::Worker::FindOpening(const ChangeHandle& like) {
    for (Opening& opening : openings) {
        if (!opening.ended && opening.handle->Folder() == like.Folder() &&
            opening.handle->Filter() == like.Filter() &&
            opening.handle->WatchesSubtree() == like.WatchesSubtree()) {
            return &opening;
        }
    }
    return nullptr;
}

bool TChangeHandlerThread::Worker::WaitForOpen(Opening& opening, std::chrono::milliseconds wait,
                                               std::unique_lock<std::mutex>& lock) {
    return answered_.wait_for(lock, wait, [&] { return opening.ended; });
}

void TChangeHandlerThread::Worker::CloseWatch(int slot) {
    if (slot >= 0 && slot < ChangeSlotCount) {
        slots_[slot].reset();
    }
}

void TChangeHandlerThread::Worker::CloseAllWatches() {
    for (int slot = 0; slot < ChangeSlotCount; ++slot) {
        CloseWatch(slot);
    }
}

void TChangeHandlerThread::Worker::CollectChanges(int slot) {
    if (slots_[slot]->CollectChanges()) {
        SignalChange(slot);
    } else if (!slots_[slot]->IsArmed()) {
        CloseWatch(slot);
    }
}

// Posts the change, then closes a handle whose folder is gone.
void TChangeHandlerThread::Worker::SignalChange(int slot) {
    if (slot < 0 || slot >= ChangeSlotCount) {
        return;
    }
    {
        std::lock_guard guard(lock);
        if (owner) {
            PostMessage(owner, messageId_, static_cast<std::uintptr_t>(slot), 0);
        }
    }
    if (!slots_[slot]->IsArmed()) {
        CloseWatch(slot);
    }
}

bool TChangeHandlerThread::Worker::Request(Action action, std::chrono::milliseconds wait,
                                           std::unique_lock<std::mutex>& lock) {
    action_ = action;
    const std::uint64_t serial = ++requested_;
    actionEvent_.Set();
    return answered_.wait_for(lock, wait, [&] { return done_ >= serial; });
}

bool TChangeHandlerThread::Worker::WaitForEnd(std::chrono::milliseconds wait,
                                              std::unique_lock<std::mutex>& lock) {
    action_ = Action::End;
    ++requested_;
    actionEvent_.Set();
    return answered_.wait_for(lock, wait, [&] { return ended_; });
}

TChangeHandlerThread::TChangeHandlerThread(QObject* ownerWindow, unsigned messageId,
                                           ChangeThreadTiming timing)
    : worker_(std::make_shared<Worker>(ownerWindow, messageId, std::move(timing.beforeAction))),
      handOverWait_(timing.handOverWait), endWait_(timing.endWait), openWait_(timing.openWait),
      thread_([worker = worker_] { worker->Run(); }) {
}

// Opens still waiting for their file system are left to end on their own; they keep the
// shared part alive and drop what they opened.
TChangeHandlerThread::~TChangeHandlerThread() {
    std::unique_lock lock(worker_->lock);
    const bool ended = worker_->WaitForEnd(endWait_, lock);
    if (!ended) {
        worker_->owner = nullptr;
    }
    for (Worker::Opening& opening : worker_->openings) {
        opening.wanted = false;
        if (!opening.ended) {
            opening.thread.detach();
        }
    }
    lock.unlock();
    if (ended) {
        thread_.join();
    } else {
        thread_.detach();
    }
    JoinEndedOpens();
}

void TChangeHandlerThread::JoinEndedOpens() {
    std::vector<std::thread> ended;
    {
        std::lock_guard guard(worker_->lock);
        std::erase_if(worker_->openings, [&](Worker::Opening& opening) {
            if (opening.ended && opening.thread.joinable()) {
                ended.push_back(std::move(opening.thread));
            }
            return opening.ended;
        });
    }
    for (std::thread& thread : ended) {
        thread.join();
    }
}

bool TChangeHandlerThread::AddWatch(const std::string& path, std::uint32_t filter, int& slot,
                                    bool watchSubtree) {
    slot = -1;
    auto handle = ChangeHandle::Create(path, watchSubtree, filter);
    if (!handle) {
        return false;
    }
    JoinEndedOpens();
    std::unique_lock lock(worker_->lock);
    if (Worker::Opening* slow = worker_->FindOpening(*handle)) {
        slow->wanted = true; // still opening since an earlier call: it is known to be slow
        return false;
    }
    Worker::Opening& opening = worker_->openings.emplace_back(std::move(handle));
    opening.thread = std::thread([worker = worker_, &opening] { worker->Open(opening); });
    if (!worker_->WaitForOpen(opening, openWait_, lock)) {
        opening.late = true;
        return false;
    }
    if (opening.watched) {
        handle = std::move(opening.handle);
    }
    lock.unlock();
    JoinEndedOpens(); // this open's thread, and the handle that could not watch its folder
    if (!handle) {
        return false;
    }
    lock.lock();
    // A handle still pending from a hand-over that ran out is closed here.
    worker_->pending = std::move(handle);
    if (!worker_->Request(Action::AcceptPending, handOverWait_, lock)) {
        return false;
    }
    slot = worker_->answerSlot;
    worker_->pending.reset(); // refused: all slots taken
    return slot != -1;
}

void TChangeHandlerThread::RemoveWatch(int slot) {
    std::unique_lock lock(worker_->lock);
    worker_->removeIndex = slot;
    worker_->Request(Action::CloseSlot, handOverWait_, lock);
}

void TChangeHandlerThread::RemoveAllWatches() {
    std::unique_lock lock(worker_->lock);
    for (Worker::Opening& opening : worker_->openings) {
        opening.wanted = false;
    }
    worker_->lateWatches.clear();
    worker_->Request(Action::CloseAll, handOverWait_, lock);
}

} // namespace quarn

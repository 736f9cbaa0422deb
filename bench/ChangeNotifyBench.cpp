// The time from a change made by another process to the change thread's message on the
// interface thread, beside the time the same kind of change takes to reach a plain inotify
// reader polling in this thread, in the same iteration.
#include "BenchFiles.h"
#include "namespace/ChangeHandle.h"
#include "platform/Inotify.h"
#include "shell/notify/ChangeHandlerThread.h"
#include "shell/notify/WindowMessage.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <string>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock; // CLOCK_MONOTONIC, the same in every process

// Another process that creates or deletes one file when asked, and answers the moment it did.
class ChangingProcess {
public:
    explicit ChangingProcess(const std::string& file) {
        int ask[2];
        int answer[2];
        if (pipe(ask) != 0 || pipe(answer) != 0) {
            std::abort();
        }
        pid_ = fork();
        if (pid_ == 0) {
            close(ask[1]);
            close(answer[0]);
            Serve(file.c_str(), ask[0], answer[1]);
        }
        close(ask[0]);
        close(answer[1]);
        ask_ = ask[1];
        answer_ = answer[0];
    }
    ~ChangingProcess() {
        close(ask_);
        close(answer_);
        waitpid(pid_, nullptr, 0);
    }

    // Asks for the change (c: create, d: delete); Changed() answers when it was made.
    void Change(char what) { (void)!write(ask_, &what, 1); }
    Clock::time_point Changed() {
        timespec at{};
        (void)!read(answer_, &at, sizeof at);
        return Clock::time_point(std::chrono::seconds(at.tv_sec) +
                                 std::chrono::nanoseconds(at.tv_nsec));
    }

private:
    // Only system calls in the child: the parent has threads.
    [[noreturn]] static void Serve(const char* file, int ask, int answer) {
        char what = 0;
        while (read(ask, &what, 1) == 1) {
            if (what == 'c') {
                close(open(file, O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
            } else {
                unlink(file);
            }
            timespec at{};
            clock_gettime(CLOCK_MONOTONIC, &at);
            (void)!write(answer, &at, sizeof at);
        }
        _exit(0);
    }

    pid_t pid_ = -1;
    int ask_ = -1;
    int answer_ = -1;
};

// The control's window: the time of each change message.
class Owner : public QObject {
public:
    int messages = 0;
    Clock::time_point last;

protected:
    bool event(QEvent* event) override {
        const quarn::TMessage* message = quarn::MessageOf(event);
        if (!message || message->Msg != quarn::WM_CHANGENOTIFY) {
            return QObject::event(event);
        }
        last = Clock::now();
        ++messages;
        return true;
    }
};

Clock::time_point WaitForMessage(Owner& owner, int count) {
    while (owner.messages < count) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return owner.last;
}

Clock::time_point WaitForInotify(const quarn::Inotify& inotify) {
    pollfd wait{inotify.Fd(), POLLIN, 0};
    poll(&wait, 1, -1);
    const auto at = Clock::now();
    inotify.ReadEvents([](const quarn::InotifyEvent&) {});
    return at;
}

double Microseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::micro>(duration).count();
}

void BM_ChangeToMessage(benchmark::State& state) {
    const quarn::bench::BenchFolder scratch;
    const std::string folder = scratch / "changes";
    std::filesystem::create_directories(folder);
    {
        ChangingProcess other(folder + "/file");
        Owner owner;
        quarn::TChangeHandlerThread thread(&owner, quarn::WM_CHANGENOTIFY);
        int slot = -1;
        thread.AddWatch(folder, quarn::FILE_NOTIFY_CHANGE_FILE_NAME, slot, false);
        quarn::Inotify plain;
        plain.AddWatch(folder, IN_DELETE);

        Clock::duration message{};
        Clock::duration inotify{};
        for (auto _ : state) {
            other.Change('c');
            const auto posted = WaitForMessage(owner, owner.messages + 1);
            const auto created = other.Changed();
            other.Change('d');
            const auto read = WaitForInotify(plain);
            const auto deleted = other.Changed();
            WaitForMessage(owner, owner.messages + 1);
            message += posted - created;
            inotify += read - deleted;
            state.SetIterationTime(std::chrono::duration<double>(posted - created).count());
        }
        const double iterations = static_cast<double>(state.iterations());
        state.counters["message_us"] = Microseconds(message) / iterations;
        state.counters["inotify_us"] = Microseconds(inotify) / iterations;
        state.counters["ratio"] = benchmark::Counter(Microseconds(message) / Microseconds(inotify));
    }
    std::filesystem::remove_all(folder);
}

// What the list pays at every fill: all watches removed, its folder's watch added (opened on a
// thread of its own), beside a plain inotify instance and watch on the calling thread.
void BM_WatchAFolder(benchmark::State& state) {
    const quarn::bench::BenchFolder scratch;
    const std::string folder = scratch / "watched";
    std::filesystem::create_directories(folder);
    {
        Owner owner;
        quarn::TChangeHandlerThread thread(&owner, quarn::WM_CHANGENOTIFY);
        Clock::duration watch{};
        Clock::duration plain{};
        for (auto _ : state) {
            const auto start = Clock::now();
            thread.RemoveAllWatches();
            int slot = -1;
            thread.AddWatch(folder, quarn::FILE_NOTIFY_CHANGE_FILE_NAME, slot, false);
            const auto watched = Clock::now();
            {
                quarn::Inotify inotify;
                inotify.AddWatch(folder, IN_CREATE);
            }
            plain += Clock::now() - watched;
            watch += watched - start;
            state.SetIterationTime(std::chrono::duration<double>(watched - start).count());
        }
        const double iterations = static_cast<double>(state.iterations());
        state.counters["watch_us"] = Microseconds(watch) / iterations;
        state.counters["plain_us"] = Microseconds(plain) / iterations;
        state.counters["ratio"] = benchmark::Counter(Microseconds(watch) / Microseconds(plain));
    }
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(BM_ChangeToMessage)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WatchAFolder)->UseManualTime()->Unit(benchmark::kMicrosecond);

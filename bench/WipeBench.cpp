#include "engine/FileWorkView.h"
#include "engine/MessagePacer.h"
#include "engine/ProgressMath.h"
#include "engine/Wipe.h"
#include "platform/MessageService.h"
#include "platform/PosixFile.h"
#include "platform/gui/Application.h"

#include <QProgressBar>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t FileBytes = std::size_t{256} << 20;
constexpr std::size_t Block = 4096;

// A window with a shown progress bar that pumps real events, or no window at all.
class BenchView : public quarn::FileWorkView {
public:
    explicit BenchView(bool pump) : pump_(pump) {
        if (pump_) {
            bar_ = std::make_unique<QProgressBar>();
            bar_->show();
        }
    }
    quarn::MessageService& Messages() override { return quarn::Messages(); }
    void ProcessMessages() override {
        if (pump_) {
            quarn::ProcessMessages();
        }
        NoteAnswer();
    }
    bool CancelRequested() const override { return false; }
    // The window answers: the time since it last did counts towards the longest wait.
    void NoteAnswer() {
        const auto now = std::chrono::steady_clock::now();
        longestWait_ = std::max(longestWait_, now - lastAnswer_);
        lastAnswer_ = now;
    }
    void StartTiming() { lastAnswer_ = std::chrono::steady_clock::now(); }
    double LongestWaitMs() const {
        return std::chrono::duration<double, std::milli>(longestWait_).count();
    }
    void SetFileProgress(int percent) override {
        if (bar_) {
            bar_->setValue(percent);
        }
        benchmark::DoNotOptimize(percent);
    }

private:
    bool pump_;
    std::unique_ptr<QProgressBar> bar_;
    std::chrono::steady_clock::time_point lastAnswer_;
    std::chrono::steady_clock::duration longestWait_{};
};

std::string BenchFolder() {
    const char* tmp = std::getenv("QUARN_BENCH_DIR");
    return std::string(tmp != nullptr ? tmp : "/var/tmp") + "/";
}

// A 256 MiB file on disk, its blocks allocated and flushed, as a wipe finds a real file.
void MakeFile(const std::string& path) {
    quarn::UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    std::vector<char> block(Block, 'x');
    for (std::size_t done = 0; done < FileBytes; done += Block) {
        if (quarn::WriteAll(fd.Get(), block.data(), Block) != Block) {
            throw std::runtime_error("cannot write the bench file");
        }
    }
    ::fdatasync(fd.Get());
}

// The reference: the same bytes over a file made the same way, 4096 at a time, each pass
// flushed; with delete, the file is then deleted as the wipe deletes it (dropping 256 MiB of
// cached pages is not free).
void BM_PlainOverwriteAndFlush(benchmark::State& state) {
    const int passes = static_cast<int>(state.range(0));
    const bool remove = state.range(1) == 1;
    const std::string path = BenchFolder() + "quarn-bench-plain";
    std::vector<char> block(Block, 'w');
    for (auto _ : state) {
        state.PauseTiming();
        MakeFile(path);
        state.ResumeTiming();
        quarn::UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
        for (int pass = 0; pass < passes; ++pass) {
            ::lseek(fd.Get(), 0, SEEK_SET);
            for (std::size_t done = 0; done < FileBytes; done += Block) {
                quarn::WriteAll(fd.Get(), block.data(), Block);
            }
            ::fdatasync(fd.Get());
        }
        fd.Close();
        if (remove) {
            ::unlink(path.c_str());
        }
    }
    ::unlink(path.c_str());
    state.SetBytesProcessed(state.iterations() * passes * static_cast<std::int64_t>(FileBytes));
}

// The wipe of a 256 MiB file: one pass (fast) or three, with a shown bar and real event
// processing (paced as the wipe paces it) or with neither.
void BM_WipeFile(benchmark::State& state) {
    const bool fast = state.range(0) == 1;
    const bool pump = state.range(1) == 1;
    BenchView view(pump);
    quarn::EngineOptions options;
    options.FastWipe = fast;
    const quarn::WipePlan plan = quarn::MakeWipePlan(options);
    const std::string folder = BenchFolder();
    const std::string path = folder + "quarn-bench-wipe";
    for (auto _ : state) {
        state.PauseTiming();
        MakeFile(path);
        state.ResumeTiming();
        view.StartTiming();
        quarn::WipeOneFile(view, path, folder, plan, quarn::WipeWording::ListedFile);
        view.NoteAnswer();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(plan.passBytes.size()) *
                            static_cast<std::int64_t>(FileBytes));
    // The longest time the window went without processing its messages (Cancel unanswered).
    state.counters["longest_wait_ms"] = view.LongestWaitMs();
}

// One pass over the file as the wipe writes it, with the bar set after every block and pending
// messages processed after every block (every_block:1) or through the pacer (every_block:0):
// what processing after each 4096-byte block would cost.
void BM_OverwriteWithMessages(benchmark::State& state) {
    const bool everyBlock = state.range(0) == 1;
    BenchView view(true);
    const std::string path = BenchFolder() + "quarn-bench-pumped";
    std::vector<char> block(Block, 'w');
    for (auto _ : state) {
        state.PauseTiming();
        MakeFile(path);
        state.ResumeTiming();
        quarn::MessagePacer pacer(view);
        quarn::UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
        for (std::size_t done = 0; done < FileBytes;) {
            quarn::WriteAll(fd.Get(), block.data(), Block);
            done += Block;
            view.SetFileProgress(quarn::RoundedPercent(done, FileBytes));
            if (everyBlock) {
                view.ProcessMessages();
            } else {
                pacer.Pump();
            }
        }
        ::fdatasync(fd.Get());
        fd.Close();
        ::unlink(path.c_str());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(FileBytes));
}

// What one pending-message round costs on an idle interface thread.
void BM_ProcessMessages(benchmark::State& state) {
    for (auto _ : state) {
        quarn::ProcessMessages();
    }
}

} // namespace

BENCHMARK(BM_PlainOverwriteAndFlush)
    ->ArgNames({"passes", "delete"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({3, 0})
    ->Args({3, 1})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WipeFile)
    ->ArgNames({"fast", "pump"})
    ->Args({1, 1})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({0, 0})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OverwriteWithMessages)
    ->ArgNames({"every_block"})
    ->Arg(1)
    ->Arg(0)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProcessMessages);

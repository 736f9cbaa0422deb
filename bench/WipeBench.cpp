// QuarnCLU's wipe loop on a 256 MiB file, one pass and nine (three rounds of three), in a
// shown window that processes its events for real, beside dd writing the same passes in place
// with 1 MiB blocks, each flushed, and then removing the file.
#include "Anchors.h"
#include "BenchFiles.h"
#include "BenchWindow.h"
#include "SideBySide.h"
#include "engine/EngineOptions.h"
#include "engine/FileCommands.h"
#include "engine/MessagePacer.h"
#include "engine/ProgressMath.h"
#include "platform/PosixFile.h"
#include "platform/gui/Application.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace quarn::bench;

constexpr std::int64_t FileMebibytes = 256;
constexpr std::int64_t FileBytes = FileMebibytes << 20;

void BM_Wipe(benchmark::State& state) {
    const int passes = static_cast<int>(state.range(0));
    quarn::EngineOptions options;
    options.FastWipe = passes == 1;
    options.WipeCount = passes == 1 ? 1 : passes / 3;
    BenchFolder work;
    BenchWindow window;
    const std::string path = work / "secret";
    const auto prepare = [&] { WritePatternFile(path, FileBytes); };
    const auto removed = [&] {
        if (!std::filesystem::is_empty(work.Path())) {
            throw std::runtime_error("the wipe left a file behind");
        }
    };
    const Contender program{
        prepare, [&] { quarn::WipeFiles(window, options, {path}, work.Path()); }, removed};
    const Contender anchor{prepare,
                           [&] {
                               for (int pass = 0; pass < passes; ++pass) {
                                   DdOverwrite(path, FileMebibytes);
                               }
                               RemoveIfThere(path);
                           },
                           [] {}};
    RunSideBySide(state, window, program, anchor);
    state.SetBytesProcessed(state.iterations() * passes * FileBytes);
}

// One pass over a file in 4096-byte chunks, the chunk size of the container loops, with the
// bar set after every chunk and pending events processed after every chunk (every_chunk:1) or
// through the pacer (every_chunk:0): what processing after each chunk would cost.
void BM_ChunksWithEvents(benchmark::State& state) {
    constexpr std::size_t Chunk = 4096;
    const bool everyChunk = state.range(0) == 1;
    BenchFolder work;
    BenchWindow window;
    const std::string path = work / "chunks";
    std::vector<char> chunk(Chunk, 'w');
    for (auto _ : state) {
        state.PauseTiming();
        WritePatternFile(path, FileBytes);
        state.ResumeTiming();
        quarn::MessagePacer pacer(window);
        quarn::UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
        for (std::int64_t done = 0; done < FileBytes;) {
            quarn::WriteAll(fd.Get(), chunk.data(), Chunk);
            done += static_cast<std::int64_t>(Chunk);
            window.SetFileProgress(quarn::RoundedPercent(done, FileBytes));
            if (everyChunk) {
                window.ProcessMessages();
            } else {
                pacer.Pump();
            }
        }
        ::fdatasync(fd.Get());
        fd.Close();
        ::unlink(path.c_str());
    }
    state.SetBytesProcessed(state.iterations() * FileBytes);
}

// What one pending-event round costs on an idle interface thread.
void BM_ProcessMessages(benchmark::State& state) {
    for (auto _ : state) {
        quarn::ProcessMessages();
    }
}

} // namespace

BENCHMARK(BM_Wipe)->ArgName("passes")->Arg(1)->Arg(9)->Apply(SideBySideSettings);
BENCHMARK(BM_ChunksWithEvents)
    ->ArgName("every_chunk")
    ->Arg(1)
    ->Arg(0)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProcessMessages);

#pragma once

#include <benchmark/benchmark.h>
#include <functional>

namespace quarn::bench {

class BenchWindow;

// One side of a comparison: prepare and check run untimed (fresh files on the disc before,
// the result checked and cleaned up after), run is timed.
struct Contender {
    std::function<void()> prepare;
    std::function<void()> run;
    std::function<void()> check;
};

// Runs the program and its anchor once each, one after the other, the order turning from run
// to run, with all dirty data of the machine flushed before each. The iteration's time is the
// program's; the counters are the anchor's time (anchor_ms), the ratio of the two (ratio) and
// the longest time the window went without processing events during the program's run
// (longest_gap_ms). Register with SideBySideSettings; run with --benchmark_repetitions=N for
// the medians of N pairs.
void RunSideBySide(benchmark::State& state, BenchWindow& window, const Contender& program,
                   const Contender& anchor);

// One pair per repetition, timed by RunSideBySide, in milliseconds, with the largest value
// ("max") beside the mean, median and deviation of the repetitions.
void SideBySideSettings(benchmark::internal::Benchmark* registration);

} // namespace quarn::bench

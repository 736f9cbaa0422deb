#include "SideBySide.h"

#include "BenchWindow.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <unistd.h>
#include <vector>

namespace quarn::bench {

namespace {

double MillisecondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Largest(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

} // namespace

void RunSideBySide(benchmark::State& state, BenchWindow& window, const Contender& program,
                   const Contender& anchor) {
    static unsigned turn = 0;
    double programMs = 0, anchorMs = 0, gapMs = 0;
    for (auto _ : state) {
        const bool anchorFirst = turn++ % 2 == 1;
        try {
            for (const bool anchorNow : {anchorFirst, !anchorFirst}) {
                const Contender& side = anchorNow ? anchor : program;
                side.prepare();
                ::sync();
                window.StartRun();
                const double ms = MillisecondsOf(side.run);
                (anchorNow ? anchorMs : programMs) = ms;
                if (!anchorNow) {
                    gapMs = window.EndRun();
                }
                side.check();
            }
        } catch (const std::exception& error) {
            state.SkipWithError(error.what());
            break;
        }
        state.SetIterationTime(programMs / 1000);
    }
    state.counters["anchor_ms"] = anchorMs;
    state.counters["ratio"] = anchorMs > 0 ? programMs / anchorMs : 0;
    state.counters["longest_gap_ms"] = gapMs;
}

void SideBySideSettings(benchmark::internal::Benchmark* registration) {
    registration->Iterations(1)
        ->UseManualTime()
        ->ComputeStatistics("max", Largest)
        ->Unit(benchmark::kMillisecond);
}

} // namespace quarn::bench

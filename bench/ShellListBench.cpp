// Filling the file list with a folder of 10,000 files, from FillFromFolder to the end of the
// fill (rows sorted, OnFillComplete fired, the names of one screenful of rows asked for as
// the view asks), beside a plain readdir + statx loop over the same folder in the same
// iteration.
#include "ListingFolder.h"
#include "shell/ShellList.h"
#include "shell/ShellListData.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr int ScreenfulOfRows = 40;

void BM_FillFileListWith10000Files(benchmark::State& state) {
    const std::string& path = quarn::bench::ListingFolderPath();
    quarn::TSCShellList list;
    list.resize(600, 800);
    list.show();
    QApplication::processEvents();
    list.Folder().SetPath(path);
    int completed = 0;
    list.OnFillComplete = [&](QWidget*) { ++completed; };

    Milliseconds plain{};
    Milliseconds fill{};
    for (auto _ : state) {
        const auto start = Clock::now();
        const int plainCount = quarn::bench::PlainListing(path);
        const auto middle = Clock::now();
        list.FillFromFolder();
        for (int row = 0; row < ScreenfulOfRows; ++row) {
            benchmark::DoNotOptimize(list.GetItemData(row)->GetDisplayName());
        }
        const auto end = Clock::now();
        if (list.Count() != quarn::bench::ListingFileCount ||
            plainCount != quarn::bench::ListingFileCount + 2) {
            state.SkipWithError("the listings do not see the folder's files");
        }
        plain += middle - start;
        fill += end - middle;
        state.SetIterationTime(std::chrono::duration<double>(end - middle).count());
    }
    if (completed != static_cast<int>(state.iterations())) {
        state.SkipWithError("a fill did not complete");
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["readdir_statx_ms"] = plain.count() / iterations;
    state.counters["file_list_ms"] = fill.count() / iterations;
    state.counters["ratio"] = fill.count() / plain.count();
}

} // namespace

BENCHMARK(BM_FillFileListWith10000Files)->UseManualTime()->Unit(benchmark::kMillisecond);

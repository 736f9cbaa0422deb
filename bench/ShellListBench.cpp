// The file list with folders of 10,000 and 100,000 files, each measure beside a plain
// readdir + statx loop over the same folder in the same run: the fill (from FillFromFolder
// to OnFillComplete, the names of one screenful asked for as the view asks), the refresh
// with one file added, the sorts by size and by name, the memory each row takes, and how
// long the window goes unanswered while it fills.
#include "ListingFolder.h"
#include "shell/list/ShellList.h"
#include "shell/list/ShellListData.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <malloc.h>

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr int ScreenfulOfRows = 40;

struct ShownList {
    explicit ShownList(const std::string& path) {
        list.resize(600, 800);
        list.show();
        QApplication::processEvents();
        list.Folder().SetPath(path);
        QApplication::processEvents();
    }
    quarn::TSCShellList list;
};

void AskForAScreenful(quarn::TSCShellList& list) {
    for (int row = 0; row < ScreenfulOfRows && row < list.Count(); ++row) {
        benchmark::DoNotOptimize(list.GetItemData(row)->GetDisplayName());
        benchmark::DoNotOptimize(list.GetItemData(row)->GetDetailText(1));
    }
}

Milliseconds PlainLoop(const std::string& path, int expected, benchmark::State& state) {
    const auto start = Clock::now();
    if (quarn::bench::PlainListing(path) != expected + 2) {
        state.SkipWithError("the plain loop does not see the folder's files");
    }
    return Clock::now() - start;
}

void ReportRatio(benchmark::State& state, Milliseconds plain, Milliseconds measured) {
    const double iterations = static_cast<double>(state.iterations());
    state.counters["readdir_statx_ms"] = plain.count() / iterations;
    state.counters["file_list_ms"] = measured.count() / iterations;
    state.counters["ratio"] = measured.count() / plain.count();
}

void BM_FillFileList(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    const std::string& path = quarn::bench::ListingFolderPath(files);
    ShownList shown(path);
    quarn::TSCShellList& list = shown.list;
    int completed = 0;
    list.OnFillComplete = [&](QWidget*) { ++completed; };
    Milliseconds plain{};
    Milliseconds fill{};
    for (auto _ : state) {
        plain += PlainLoop(path, files, state);
        const auto start = Clock::now();
        list.FillFromFolder();
        AskForAScreenful(list);
        const auto end = Clock::now();
        fill += end - start;
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        if (list.Count() != files) {
            state.SkipWithError("the list does not show the folder's files");
        }
    }
    if (completed != static_cast<int>(state.iterations())) {
        state.SkipWithError("a fill did not complete");
    }
    ReportRatio(state, plain, fill);
}

void BM_RefreshFileListWithOneFileAdded(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    const std::string& path = quarn::bench::ListingFolderPath(files);
    const std::string added = path + "/added by the benchmark";
    ShownList shown(path);
    quarn::TSCShellList& list = shown.list;
    Milliseconds plain{};
    Milliseconds refresh{};
    for (auto _ : state) {
        std::FILE* file = std::fopen(added.c_str(), "w");
        std::fclose(file);
        plain += PlainLoop(path, files + 1, state);
        const auto start = Clock::now();
        list.Refresh();
        const auto end = Clock::now();
        refresh += end - start;
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        if (list.Count() != files + 1) {
            state.SkipWithError("the refresh did not add the file");
        }
        std::remove(added.c_str());
        list.Refresh();
    }
    ReportRatio(state, plain, refresh);
}

void BM_SortFileList(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    const int key = static_cast<int>(state.range(1));
    ShownList shown(quarn::bench::ListingFolderPath(files));
    quarn::TSCShellList& list = shown.list;
    for (auto _ : state) {
        list.SetSortKey(key == 1 ? 2 : 1); // away from the key measured, outside the time
        const auto start = Clock::now();
        list.SetSortKey(key);
        const auto end = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.SetLabel(key == 1 ? "by name" : "by size");
}

void BM_MemoryPerListedItem(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    const std::string& path = quarn::bench::ListingFolderPath(files);
    quarn::TSCShellList list;
    list.resize(600, 800);
    list.show();
    QApplication::processEvents();
    double bytes = 0;
    for (auto _ : state) {
        list.Folder().SetPath("/");
        QApplication::processEvents();
        malloc_trim(0);
        const std::size_t before = mallinfo2().uordblks;
        list.Folder().SetPath(path);
        QApplication::processEvents(); // the view lays out and paints its first screenful
        const std::size_t after = mallinfo2().uordblks;
        bytes = (static_cast<double>(after) - static_cast<double>(before)) / list.Count();
    }
    state.counters["bytes_per_item"] = bytes;
}

// From the request to show the folder until the window has painted it and answers again.
void BM_WindowUnansweredWhileFilling(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    const std::string& path = quarn::bench::ListingFolderPath(files);
    quarn::TSCShellList list;
    list.resize(600, 800);
    list.show();
    QApplication::processEvents();
    Milliseconds plain{};
    Milliseconds unanswered{};
    for (auto _ : state) {
        list.Folder().SetPath("/");
        QApplication::processEvents();
        plain += PlainLoop(path, files, state);
        const auto start = Clock::now();
        list.Folder().SetPath(path);
        list.repaint();
        QApplication::processEvents();
        const auto end = Clock::now();
        unanswered += end - start;
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    ReportRatio(state, plain, unanswered);
}

} // namespace

BENCHMARK(BM_FillFileList)
    ->Arg(10'000)
    ->Arg(100'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshFileListWithOneFileAdded)
    ->Arg(10'000)
    ->Arg(100'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortFileList)
    ->Args({100'000, 2})
    ->Args({100'000, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryPerListedItem)->Arg(100'000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowUnansweredWhileFilling)
    ->Arg(100'000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The folder tree: expanding a node of 10,000 subfolders, and a refresh by difference of a
// filled tree of 50,000 nodes with one change, each beside a plain readdir + statx of the same
// folders in the same iteration; and the time from a folder made by another program to its
// node, beside the refresh timer's period.
#include "BenchFiles.h"
#include "ListingFolder.h"
#include "shell/tree/ShellTree.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr int WideFolderCount = 10'000;
constexpr int FilledFolders = 50;
constexpr int SubfoldersEach = 1'000;

// A folder tree made for one benchmark and removed after it.
class BenchTree {
public:
    explicit BenchTree(const std::string& name) : root_(scratch_ / name) {
        fs::create_directories(root_);
    }
    std::string Path(const std::string& relative = "") const {
        return relative.empty() ? root_.string() : (root_ / relative).string();
    }

private:
    quarn::bench::BenchFolder scratch_;
    fs::path root_;
};

quarn::TSCShellTreeNode* Child(quarn::TSCShellTreeNode* node, const std::string& text) {
    for (int i = 0; i < node->Count(); ++i) {
        if (node->Item(i)->Text() == text) {
            return node->Item(i);
        }
    }
    return nullptr;
}

void Report(benchmark::State& state, Milliseconds plain, Milliseconds tree, const char* name) {
    const double iterations = static_cast<double>(state.iterations());
    state.counters["readdir_statx_ms"] = plain.count() / iterations;
    state.counters[name] = tree.count() / iterations;
    state.counters["ratio"] = tree.count() / plain.count();
}

void BM_ExpandNodeWith10000Subfolders(benchmark::State& state) {
    BenchTree folders("quarn-bench-tree-wide");
    for (int i = 0; i < WideFolderCount; ++i) {
        fs::create_directories(folders.Path("wide/folder " + std::to_string(i)));
    }
    quarn::TSCShellTree tree;
    tree.resize(300, 600);
    tree.show();
    tree.BaseFolder().SetPath(folders.Path());
    QApplication::processEvents();

    Milliseconds plain{};
    Milliseconds expand{};
    for (auto _ : state) {
        tree.Refill();
        QApplication::processEvents(); // the refill's own layout is not the expansion's
        quarn::TSCShellTreeNode* wide = Child(tree.RootNode(), "wide");
        const auto start = Clock::now();
        const int plainCount = quarn::bench::PlainListing(folders.Path("wide"));
        const auto middle = Clock::now();
        tree.Expand(wide);
        QApplication::processEvents();
        const auto end = Clock::now();
        if (wide->Count() != WideFolderCount || plainCount != WideFolderCount + 2) {
            state.SkipWithError("the listings do not see the folder's subfolders");
        }
        plain += middle - start;
        expand += end - middle;
        state.SetIterationTime(std::chrono::duration<double>(end - middle).count());
    }
    Report(state, plain, expand, "expand_ms");
}

void BM_RefreshFilledTreeOf50000NodesWithOneChange(benchmark::State& state) {
    BenchTree folders("quarn-bench-tree-filled");
    for (int f = 0; f < FilledFolders; ++f) {
        for (int s = 0; s < SubfoldersEach; ++s) {
            fs::create_directories(
                folders.Path("folder " + std::to_string(f) + "/sub " + std::to_string(s)));
        }
    }
    quarn::TSCShellTree tree;
    tree.resize(300, 600);
    tree.show();
    tree.BaseFolder().SetPath(folders.Path());
    QApplication::processEvents();
    int nodes = tree.RootNode()->Count();
    for (int f = 0; f < FilledFolders; ++f) {
        quarn::TSCShellTreeNode* folder = Child(tree.RootNode(), "folder " + std::to_string(f));
        tree.Expand(folder);
        nodes += folder->Count();
    }
    if (nodes != FilledFolders * (SubfoldersEach + 1)) {
        state.SkipWithError("the tree is not filled");
    }
    QApplication::processEvents();

    const std::string changed = folders.Path("folder 7/changed");
    Milliseconds plain{};
    Milliseconds refresh{};
    for (auto _ : state) {
        if (fs::exists(changed)) {
            fs::remove(changed);
        } else {
            fs::create_directory(changed);
        }
        const auto start = Clock::now();
        int plainCount = quarn::bench::PlainListing(folders.Path());
        for (int f = 0; f < FilledFolders; ++f) {
            plainCount += quarn::bench::PlainListing(folders.Path("folder " + std::to_string(f)));
        }
        const auto middle = Clock::now();
        tree.Refresh();
        QApplication::processEvents();
        const auto end = Clock::now();
        benchmark::DoNotOptimize(plainCount);
        plain += middle - start;
        refresh += end - middle;
        state.SetIterationTime(std::chrono::duration<double>(end - middle).count());
    }
    Report(state, plain, refresh, "refresh_ms");
}

// Runs a command of the system's as another process, to its end.
void RunProgram(const char* program, const std::string& path) {
    char* const arguments[] = {const_cast<char*>(program), const_cast<char*>(path.c_str()),
                               nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, program, nullptr, nullptr, arguments, environ) == 0) {
        waitpid(child, nullptr, 0);
    }
}

void BM_ChangeByAnotherProgramReachesTheTree(benchmark::State& state) {
    BenchTree folders("quarn-bench-tree-latency");
    fs::create_directories(folders.Path("watched"));
    quarn::TSCShellTree tree;
    tree.resize(300, 600);
    tree.show();
    tree.activateWindow();
    tree.setFocus();
    tree.BaseFolder().SetPath(folders.Path());
    QApplication::processEvents();
    quarn::TSCShellTreeNode* watched = Child(tree.RootNode(), "watched");
    tree.Expand(watched);
    const std::string made = folders.Path("watched/made");
    Milliseconds latency{};
    for (auto _ : state) {
        const bool making = !fs::exists(made);
        const auto start = Clock::now();
        RunProgram(making ? "mkdir" : "rmdir", made);
        while ((Child(watched, "made") != nullptr) != making &&
               Clock::now() - start < std::chrono::seconds(5)) {
            QApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        const auto end = Clock::now();
        if ((Child(watched, "made") != nullptr) != making) {
            state.SkipWithError("the change did not reach the tree");
        }
        latency += end - start;
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["timer_ms"] = quarn::RefreshSchedule::FocusedDelayMs;
    state.counters["latency_ms"] = latency.count() / iterations;
    state.counters["over_timer_ms"] =
        latency.count() / iterations - quarn::RefreshSchedule::FocusedDelayMs;
}

} // namespace

BENCHMARK(BM_ChangeByAnotherProgramReachesTheTree)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandNodeWith10000Subfolders)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshFilledTreeOf50000NodesWithOneChange)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Copying a folder of 1,000 small files and one of 32 MiB with the context menu's copy
// (staged, never replacing, each file and folder flushed), beside a plain recursive copy in
// the same iteration that also flushes each file (open O_EXCL, read, write, fsync).
#include "BenchFiles.h"
#include "platform/FileTransfer.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int FolderCount = 10;
constexpr int FilesPerFolder = 100;
constexpr std::size_t SmallFileSize = 4096;
constexpr std::size_t LargeFileSize = 32 << 20;

// The source tree, made once and removed when the program ends.
class CopySource {
public:
    CopySource() {
        root_ = scratch_ / "copy";
        const std::string small(SmallFileSize, 's');
        for (int folder = 0; folder < FolderCount; ++folder) {
            const std::string path = Source() + "/folder " + std::to_string(folder);
            std::filesystem::create_directories(path);
            for (int file = 0; file < FilesPerFolder; ++file) {
                std::ofstream(path + "/file " + std::to_string(file)) << small;
            }
        }
        std::ofstream(Source() + "/large") << std::string(LargeFileSize, 'l');
    }
    std::string Source() const { return root_ + "/source"; }
    std::string Target(const char* name) const { return root_ + "/" + name; }

private:
    quarn::bench::BenchFolder scratch_;
    std::string root_;
};

const CopySource& Tree() {
    static const CopySource tree;
    return tree;
}

bool PlainCopyFile(const std::string& source, const std::string& target) {
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    static std::vector<char> buffer(1 << 20);
    bool ok = in >= 0 && out >= 0;
    for (ssize_t got = 0; ok && (got = ::read(in, buffer.data(), buffer.size())) > 0;) {
        ok = ::write(out, buffer.data(), static_cast<std::size_t>(got)) == got;
    }
    ok = ok && ::fsync(out) == 0;
    if (in >= 0) {
        ::close(in);
    }
    return out >= 0 && ::close(out) == 0 && ok;
}

bool PlainCopy(const std::string& source, const std::string& target) {
    if (::mkdir(target.c_str(), 0755) != 0) {
        return false;
    }
    DIR* dir = ::opendir(source.c_str());
    bool ok = dir != nullptr;
    while (ok) {
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            break;
        }
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        ok = entry->d_type == DT_DIR ? PlainCopy(source + "/" + name, target + "/" + name)
                                     : PlainCopyFile(source + "/" + name, target + "/" + name);
    }
    if (dir) {
        ::closedir(dir);
    }
    return ok;
}

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

void BM_CopyTreeOf1000FilesAnd32MiB(benchmark::State& state) {
    const CopySource& tree = Tree();
    const std::string plainTarget = tree.Target("plain");
    const std::string copyTarget = tree.Target("copy");
    Clock::duration plain{};
    Clock::duration copy{};
    for (auto _ : state) {
        const auto start = Clock::now();
        const bool plainDone = PlainCopy(tree.Source(), plainTarget);
        const auto middle = Clock::now();
        const bool copyDone = quarn::CopyEntry(tree.Source(), copyTarget).Done();
        const auto end = Clock::now();
        if (!plainDone || !copyDone) {
            state.SkipWithError("a copy failed");
        }
        plain += middle - start;
        copy += end - middle;
        state.SetIterationTime(std::chrono::duration<double>(end - middle).count());
        std::filesystem::remove_all(plainTarget);
        std::filesystem::remove_all(copyTarget);
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["plain_copy_ms"] = Milliseconds(plain) / iterations;
    state.counters["copy_entry_ms"] = Milliseconds(copy) / iterations;
    state.counters["ratio"] = benchmark::Counter(Milliseconds(copy) / Milliseconds(plain));
}

} // namespace

BENCHMARK(BM_CopyTreeOf1000FilesAnd32MiB)->UseManualTime()->Unit(benchmark::kMillisecond);

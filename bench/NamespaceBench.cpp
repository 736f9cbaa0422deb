// Listing a folder of 10,000 files through the namespace as the file list asks for it
// (enumeration, then each item's attributes and name), beside a plain readdir + statx loop
// over the same folder in the same iteration.
#include "ListingFolder.h"
#include "namespace/Namespace.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr quarn::SFGAOF ListAttributes = 0x720B0000; // what the list asks of each item

int NamespaceListing(const std::string& path) {
    using namespace quarn;
    ComPtr<IShellFolder> desktop;
    SHGetDesktopFolder(desktop.Put());
    LPITEMIDLIST list = nullptr;
    desktop->ParseDisplayName(nullptr, nullptr, path, nullptr, &list, nullptr);
    const PidlPtr owned(list);
    void* object = nullptr;
    desktop->BindToObject(list, nullptr, IID_IShellFolder, &object);
    const auto folder = ComPtr<IShellFolder>::Attach(static_cast<IShellFolder*>(object));
    ComPtr<IEnumIDList> items;
    folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN,
                        items.Put());
    int count = 0;
    LPITEMIDLIST batch[64];
    ULONG fetched = 0;
    do {
        items->Next(64, batch, &fetched);
        for (ULONG i = 0; i < fetched; ++i) {
            const PidlPtr item(batch[i]);
            LPCITEMIDLIST child = item.get();
            SFGAOF attributes = ListAttributes;
            folder->GetAttributesOf(1, &child, &attributes);
            STRRET name;
            folder->GetDisplayNameOf(child, SHGDN_INFOLDER, &name);
            benchmark::DoNotOptimize(name.cStr);
            ++count;
        }
    } while (fetched == 64);
    return count;
}

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

void BM_ListFolderOf10000Files(benchmark::State& state) {
    const std::string& path = quarn::bench::ListingFolderPath();
    Clock::duration plain{};
    Clock::duration shell{};
    for (auto _ : state) {
        const auto start = Clock::now();
        const int plainCount = quarn::bench::PlainListing(path);
        const auto middle = Clock::now();
        const int shellCount = NamespaceListing(path);
        const auto end = Clock::now();
        if (shellCount != quarn::bench::ListingFileCount ||
            plainCount != quarn::bench::ListingFileCount + 2) {
            state.SkipWithError("the listings do not see the folder's files");
        }
        plain += middle - start;
        shell += end - middle;
        state.SetIterationTime(std::chrono::duration<double>(end - middle).count());
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["readdir_statx_ms"] = Milliseconds(plain) / iterations;
    state.counters["namespace_ms"] = Milliseconds(shell) / iterations;
    state.counters["ratio"] = benchmark::Counter(Milliseconds(shell) / Milliseconds(plain));
}

} // namespace

BENCHMARK(BM_ListFolderOf10000Files)->UseManualTime()->Unit(benchmark::kMillisecond);

// Reading the paths of a drop from its "Shell IDList Array": a block of 20,000 items in a
// shallow folder as a drag of a large selection makes it, and crafted blocks whose parent
// folder runs far past PATH_MAX (2,000 folders of 250-byte names; 30,000 folders of one byte),
// which are refused.
#include "namespace/ItemCodec.h"
#include "shell/dragdrop/DroppedItems.h"
#include "shell/dragdrop/ShellDataObject.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <string>

namespace {

std::string Uint32(std::uint32_t value) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<char>(value >> shift));
    }
    return bytes;
}

// Home, then levels folders of names of nameSize bytes, holding children files.
std::string IdListBlock(int levels, std::size_t nameSize, int children) {
    using namespace quarn;
    const std::string end(2, '\0');
    const std::string name(nameSize, 'n');
    EntryItem folder;
    folder.kind = EntryItemKind::Folder;
    folder.name = name;
    std::string parent = EncodeItem(RootItem{RootKind::Home});
    for (int level = 0; level < levels; ++level) {
        parent += EncodeItem(folder);
    }
    parent += end;
    EntryItem file;
    file.name = "file";
    const std::string child = EncodeItem(file) + end;
    const auto count = static_cast<std::uint32_t>(children);
    std::string block = Uint32(count) + Uint32(8 + 4 * count);
    auto offset = static_cast<std::uint32_t>(8 + 4 * count + parent.size());
    for (int i = 0; i < children; ++i, offset += static_cast<std::uint32_t>(child.size())) {
        block += Uint32(offset);
    }
    block += parent;
    for (int i = 0; i < children; ++i) {
        block += child;
    }
    return block;
}

void BM_DroppedPaths(benchmark::State& state) {
    using namespace quarn;
    const auto data = MakeCom<TSCShellDataObject>(TSCDataBlocks{
        IdListBlock(static_cast<int>(state.range(0)), static_cast<std::size_t>(state.range(1)),
                    static_cast<int>(state.range(2))),
        std::nullopt});
    std::size_t paths = 0;
    for (auto _ : state) {
        paths = DroppedPaths(data.get()).size();
        benchmark::DoNotOptimize(paths);
    }
    state.counters["paths"] = static_cast<double>(paths);
}
BENCHMARK(BM_DroppedPaths)
    ->ArgNames({"levels", "name", "items"})
    ->Args({3, 8, 20000})
    ->Args({2000, 250, 1})
    ->Args({30000, 1, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace

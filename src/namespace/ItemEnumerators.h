#pragma once

#include "namespace/ShellFolder.h"

#include <dirent.h>
#include <memory>
#include <string>
#include <vector>

namespace quarn {

// Hands out copies of items fixed when it was made (the desktop's, Computer's, Trash's).
class ListEnumerator final : public ComObject<IEnumIDList> {
public:
    explicit ListEnumerator(std::vector<std::string> items) : items_(std::move(items)) {}

    HRESULT QueryInterface(const IID& iid, void** object) override;
    HRESULT Next(ULONG count, LPITEMIDLIST* items, ULONG* fetched) override;
    HRESULT Skip(ULONG count) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumIDList** copy) override;

private:
    std::vector<std::string> items_;
    std::size_t next_ = 0;
};

// Reads a folder as it is asked for items; an entry that vanishes before it is read is
// skipped.
class DirectoryEnumerator final : public ComObject<IEnumIDList> {
public:
    // Fails with the errno of opendir.
    static HRESULT Open(const std::string& path, SHCONTF flags, IEnumIDList** enumerator);

    HRESULT QueryInterface(const IID& iid, void** object) override;
    HRESULT Next(ULONG count, LPITEMIDLIST* items, ULONG* fetched) override;
    HRESULT Skip(ULONG count) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumIDList** copy) override;

private:
    struct DirCloser {
        void operator()(DIR* dir) const { closedir(dir); }
    };
    DirectoryEnumerator(std::unique_ptr<DIR, DirCloser> dir, SHCONTF flags)
        : dir_(std::move(dir)), flags_(flags) {}
    // The next listed entry's item; empty at the end. error: readdir's errno.
    std::string NextItem(int& error);

    std::unique_ptr<DIR, DirCloser> dir_;
    SHCONTF flags_;
};

} // namespace quarn

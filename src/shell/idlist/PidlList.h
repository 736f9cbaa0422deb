#pragma once

#include "namespace/Malloc.h"
#include "namespace/ShellFolder.h"

#include <vector>

namespace quarn {

// Pairs of an item-ID list and an object, kept in order for the refresh of the tree and the
// list. The lists are never copied; they are freed (through Allocator) on RemoveAt, Clear
// and destruction only when Allocator is set. Objects are never freed.
class TSCPidlList {
public:
    enum TDuplicates : std::uint8_t { dupIgnore = 0, dupAccept = 1, dupError = 2 };

    TSCPidlList() = default;
    virtual ~TSCPidlList();
    TSCPidlList(const TSCPidlList&) = delete;
    TSCPidlList& operator=(const TSCPidlList&) = delete;

    virtual int Add(LPITEMIDLIST list) { return AddObject(list, nullptr); }
    // The entry's index. Sorted and equal to an entry: Duplicates decides (ignore answers the
    // existing index, error raises "TSCPidlList: Duplicate PIDL", accept inserts).
    virtual int AddObject(LPITEMIDLIST list, void* object);

    LPITEMIDLIST GetPidl(int index) const;
    void* GetObject(int index) const;
    int GetCount() const { return static_cast<int>(entries_.size()); }
    void SetSorted(bool sorted);
    void Sort();
    // Binary search: the first equal entry, else the insertion point (see AddObject).
    bool Find(LPCITEMIDLIST list, int& index) const;
    bool FindLinear(LPCITEMIDLIST list, int& index) const;
    int IndexOf(LPCITEMIDLIST list) const; // -1 when absent
    void RemoveAt(int index);
    void Clear();
    void InsertAt(int index, LPITEMIDLIST list, void* object);
    int GetCapacity() const { return static_cast<int>(entries_.capacity()); }
    void SetCapacity(int capacity);

    bool Sorted = false;
    IShellFolder* CompareFolder = nullptr; // no reference held
    IMalloc* Allocator = nullptr;          // no reference held
    TDuplicates Duplicates = dupError;

private:
    struct Entry {
        LPITEMIDLIST list;
        void* object;
    };
    // With CompareFolder: the low word of its CompareIDs, whether or not it succeeded; else
    // the bytes.
    int Compare(LPCITEMIDLIST a, LPCITEMIDLIST b) const;
    void CheckIndex(int index, int limit) const;

    std::vector<Entry> entries_;
};

// Byte order of two lists, their terminators included; shorter first at a common prefix.
int ComparePidlBytes(LPCITEMIDLIST a, LPCITEMIDLIST b);

} // namespace quarn

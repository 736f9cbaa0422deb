// The sorted pair list of the refresh.
#include "shell/idlist/PidlList.h"

#include "ShellTestSupport.h"
#include "shell/common/ShellErrors.h"

#include <gtest/gtest.h>

namespace quarn::test {
namespace {

LPITEMIDLIST Owned(const std::string& payload) {
    return MakeList({payload}).release();
}

std::vector<std::string> Payloads(const TSCPidlList& list) {
    std::vector<std::string> payloads;
    for (int i = 0; i < list.GetCount(); ++i) {
        const std::string text = ListText(list.GetPidl(i));
        payloads.push_back(text.substr(2, text.size() - 4));
    }
    return payloads;
}

class PidlList : public ::testing::Test {
protected:
    PidlList() { list.Allocator = &SharedMalloc(); }
    TSCPidlList list;
};

TEST_F(PidlList, UnsortedKeepsOrderAndSortingOrdersByBytes) {
    for (const std::string payload : {"c", "a", "bb", "b"}) {
        list.Add(Owned(payload));
    }
    EXPECT_EQ(Payloads(list), (std::vector<std::string>{"c", "a", "bb", "b"}));
    list.SetSorted(true);
    // The byte count comes first: shorter items before longer ones.
    EXPECT_EQ(Payloads(list), (std::vector<std::string>{"a", "b", "c", "bb"}));
    EXPECT_EQ(list.Add(Owned("ba")), 3);
    EXPECT_EQ(Payloads(list), (std::vector<std::string>{"a", "b", "c", "ba", "bb"}));
}

TEST_F(PidlList, DuplicatesAreRefusedIgnoredOrAccepted) {
    list.SetSorted(true);
    list.Add(Owned("a"));
    list.Add(Owned("b"));
    const auto equal = MakeList({"b"});
    try {
        list.Add(equal.get());
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "TSCPidlList: Duplicate PIDL");
    }
    list.Duplicates = TSCPidlList::dupIgnore;
    EXPECT_EQ(list.Add(equal.get()), 1);
    EXPECT_EQ(list.GetCount(), 2);
    list.Duplicates = TSCPidlList::dupAccept;
    EXPECT_EQ(list.Add(Owned("b")), 1); // before the equal entry
    EXPECT_EQ(list.GetCount(), 3);
}

TEST_F(PidlList, FindAnswersTheFirstEqualOrTheInsertionPoint) {
    list.SetSorted(true);
    for (const std::string payload : {"b", "d", "f"}) {
        list.Add(Owned(payload));
    }
    int index = -1;
    EXPECT_TRUE(list.Find(MakeList({"d"}).get(), index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(list.Find(MakeList({"e"}).get(), index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(list.IndexOf(MakeList({"f"}).get()), 2);
    EXPECT_EQ(list.IndexOf(MakeList({"a"}).get()), -1);
    list.SetSorted(false);
    EXPECT_EQ(list.IndexOf(MakeList({"b"}).get()), 0);
}

TEST_F(PidlList, ListsAreFreedOnlyThroughAGivenAllocator) {
    CountingAllocator counting;
    {
        TSCPidlList owning;
        owning.Allocator = &counting;
        auto* a = static_cast<LPITEMIDLIST>(counting.Alloc(2));
        auto* b = static_cast<LPITEMIDLIST>(counting.Alloc(2));
        auto* c = static_cast<LPITEMIDLIST>(counting.Alloc(2));
        for (auto* item : {a, b, c}) {
            std::fill_n(reinterpret_cast<char*>(item), 2, 0);
            owning.Add(item);
        }
        owning.RemoveAt(1);
        EXPECT_EQ(counting.freed, 1);
    }
    EXPECT_EQ(counting.freed, 3);

    const auto borrowed = MakeList({"x"});
    TSCPidlList lending;
    lending.Add(borrowed.get());
    lending.Clear();
    EXPECT_EQ(ListText(borrowed.get()), ListText(MakeList({"x"}).get()));
}

TEST_F(PidlList, IndexesOutsideTheListRaise) {
    list.Add(Owned("a"));
    EXPECT_THROW(list.GetPidl(1), EListError);
    EXPECT_THROW(list.GetObject(-1), EListError);
    EXPECT_THROW(list.RemoveAt(5), EListError);
    EXPECT_THROW(list.InsertAt(2, nullptr, nullptr), EListError);
    EXPECT_THROW(list.SetCapacity(0), EListError);
    list.SetCapacity(50);
    EXPECT_GE(list.GetCapacity(), 50);
}

TEST_F(PidlList, AFolderComparesByItsCompareIDs) {
    struct ReversedFolder : FakeFolder {
        HRESULT CompareIDs(std::intptr_t, LPCITEMIDLIST a, LPCITEMIDLIST b) override {
            return MakeSuccessCode(static_cast<std::int16_t>(-ComparePidlBytes(a, b)));
        }
    };
    const auto folder = MakeCom<ReversedFolder>();
    list.CompareFolder = folder.get();
    for (const std::string payload : {"a", "c", "b"}) {
        list.Add(Owned(payload));
    }
    list.SetSorted(true);
    EXPECT_EQ(Payloads(list), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(list.IndexOf(MakeList({"b"}).get()), 1);
}

TEST(ComparePidlBytes, UnsignedBytesThenSizes) {
    EXPECT_LT(ComparePidlBytes(MakeList({"a"}).get(), MakeList({"\xff"}).get()), 0);
    EXPECT_LT(ComparePidlBytes(MakeList({"a"}).get(), MakeList({"a", "b"}).get()), 0);
    EXPECT_EQ(ComparePidlBytes(MakeList({"ab"}).get(), MakeList({"ab"}).get()), 0);
}

} // namespace
} // namespace quarn::test

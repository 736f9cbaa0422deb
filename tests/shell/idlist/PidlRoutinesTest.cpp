// The item-ID list routines and the level view.
#include "shell/idlist/PidlRoutines.h"

#include "ShellTestSupport.h"
#include "shell/idlist/IdListArray.h"
#include "shell/idlist/ShellNames.h"

#include <gtest/gtest.h>

namespace quarn::test {
namespace {

const std::string Empty("\0\0", 2);

TEST(PidlRoutines, SizesAndCopies) {
    const auto one = MakeList({"abc"});
    const auto two = MakeList({"abc", "de"});
    EXPECT_EQ(PidlSize(nullptr), 0u);
    EXPECT_EQ(PidlSize(MakeList({}).get()), 2u);
    EXPECT_EQ(PidlSize(one.get()), 7u);
    EXPECT_EQ(PidlSize(two.get()), 11u);

    const PidlPtr copyOfNil(DuplicatePidl(nullptr, nullptr));
    ASSERT_TRUE(copyOfNil);
    EXPECT_EQ(ListText(copyOfNil.get()), Empty);
    const PidlPtr copy(DuplicatePidl(nullptr, two.get()));
    EXPECT_NE(copy.get(), two.get());
    EXPECT_EQ(ListText(copy.get()), ListText(two.get()));
}

TEST(PidlRoutines, JoinsDropTheFirstTerminator) {
    const auto a = MakeList({"abc"});
    const auto b = MakeList({"de", "f"});
    const auto empty = MakeList({});
    const std::pair<std::pair<LPCITEMIDLIST, LPCITEMIDLIST>, std::string> cases[] = {
        {{nullptr, nullptr}, Empty},
        {{a.get(), nullptr}, ListText(a.get())},
        {{nullptr, b.get()}, ListText(b.get())},
        {{empty.get(), b.get()}, ListText(b.get())},
        {{a.get(), b.get()}, ListText(MakeList({"abc", "de", "f"}).get())},
    };
    for (const auto& [lists, expected] : cases) {
        const PidlPtr joined(JoinPidls(nullptr, lists.first, lists.second));
        EXPECT_EQ(ListText(joined.get()), expected);
    }
}

TEST(PidlRoutines, AGivenAllocatorIsUsedAndMayRefuse) {
    CountingAllocator allocator;
    const auto a = MakeList({"abc"});
    LPITEMIDLIST joined = JoinPidls(&allocator, a.get(), a.get());
    EXPECT_EQ(allocator.allocated, 1);
    allocator.Free(joined);
    allocator.refuse = true;
    EXPECT_EQ(JoinPidls(&allocator, a.get(), a.get()), nullptr);
    EXPECT_EQ(DuplicatePidl(&allocator, a.get()), nullptr);
}

TEST(PidlRoutines, ComparisonsOfEmptyNilAndRealLists) {
    const auto empty = MakeList({});
    const auto empty2 = MakeList({});
    const auto home = SpecialFolder(CSIDL_PROFILE);
    const auto home2 = SpecialFolder(CSIDL_PROFILE);
    const auto computer = SpecialFolder(CSIDL_DRIVES);
    const auto foreign = MakeList({"??"});
    EXPECT_EQ(ComparePidls(nullptr, nullptr), 0);
    EXPECT_EQ(ComparePidls(nullptr, empty.get()), -1);
    EXPECT_EQ(ComparePidls(empty.get(), nullptr), -1);
    EXPECT_EQ(ComparePidls(empty.get(), empty2.get()), 0);
    EXPECT_EQ(ComparePidls(home.get(), empty.get()), -1);
    EXPECT_EQ(ComparePidls(empty.get(), home.get()), -1);
    EXPECT_EQ(ComparePidls(home.get(), home2.get()), 0);
    EXPECT_NE(ComparePidls(home.get(), computer.get()), 0);
    EXPECT_EQ(ComparePidls(home.get(), foreign.get()), ComparePidlsFailed);
}

TEST(IdListArray, LevelsPrefixesAndItems) {
    const auto two = MakeList({"abc", "de"});
    TSCIdListArray view(two.get());
    EXPECT_EQ(view.GetCount(), 2);
    EXPECT_EQ(ListText(view.GetPrefix(0)), ListText(two.get()));
    EXPECT_EQ(ListText(view.GetPrefix(1)), ListText(MakeList({"abc"}).get()));
    EXPECT_EQ(ListText(view.GetPrefix(2)), Empty);
    EXPECT_EQ(view.GetPrefix(3), nullptr);
    EXPECT_EQ(view.GetPrefix(-1), nullptr);
    EXPECT_EQ(ListText(view.GetItem(0)), ListText(MakeList({"abc"}).get()));
    EXPECT_EQ(ListText(view.GetItem(1)), ListText(MakeList({"de"}).get()));
    EXPECT_EQ(view.GetItem(2), nullptr);
    EXPECT_EQ(view.GetItem(-1), nullptr);
}

TEST(IdListArray, EdgesOfOneLevelEmptyAndNil) {
    const auto one = MakeList({"abc"});
    TSCIdListArray oneLevel(one.get());
    EXPECT_EQ(ListText(oneLevel.GetPrefix(1)), Empty);

    const auto empty = MakeList({});
    TSCIdListArray emptyView(empty.get());
    EXPECT_EQ(emptyView.GetCount(), 0);
    EXPECT_EQ(ListText(emptyView.GetItem(0)), Empty);
    EXPECT_EQ(ListText(emptyView.GetPrefix(0)), Empty);

    TSCIdListArray nilView(nullptr);
    EXPECT_EQ(nilView.GetCount(), 0);
    EXPECT_EQ(nilView.GetItem(0), nullptr);
    EXPECT_EQ(nilView.GetPrefix(0), nullptr);
}

TEST(StrRet, EachKindToText) {
    const auto list = MakeList({std::string("ab\0cdef", 7)});
    STRRET wide;
    wide.uType = STRRET_WSTR;
    wide.pOleStr = u"caf\u00e9";
    EXPECT_EQ(StrRetToString(nullptr, wide), "caf\xc3\xa9");
    FreeStrRet(wide);
    EXPECT_TRUE(wide.pOleStr.empty());

    STRRET offset;
    offset.uType = STRRET_OFFSET;
    offset.uOffset = 5;
    EXPECT_EQ(StrRetToString(list.get(), offset), "cdef");
    EXPECT_EQ(StrRetToString(nullptr, offset), "");
    offset.uOffset = 500; // past the list
    EXPECT_EQ(StrRetToString(list.get(), offset), "");

    STRRET bytes;
    bytes.cStr = std::string("raw\xff\0tail", 9);
    EXPECT_EQ(StrRetToString(nullptr, bytes), "raw\xff");
    STRRET other;
    other.uType = 7;
    other.cStr = "ignored";
    EXPECT_EQ(StrRetToString(nullptr, other), "");
}

} // namespace
} // namespace quarn::test

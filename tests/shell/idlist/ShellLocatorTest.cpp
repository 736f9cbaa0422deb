// The folder locator: its states, change notices and stream block.
#include "shell/idlist/ShellLocator.h"

#include "ShellTestSupport.h"
#include "TestFiles.h"
#include "shell/common/MemoryStream.h"
#include "shell/common/ShellErrors.h"
#include "shell/idlist/PidlRoutines.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Block(const TSCShellLocator& locator) {
    TMemoryStream stream;
    locator.WritePidl(stream);
    return stream.Bytes();
}

void Read(TSCShellLocator& locator, const Bytes& block) {
    TMemoryStream stream(block);
    locator.ReadPidl(stream);
}

Bytes ListBlock(const std::string& list) {
    Bytes block{0, static_cast<std::uint8_t>(list.size()),
                static_cast<std::uint8_t>(list.size() >> 8), 0, 0};
    block.insert(block.end(), list.begin(), list.end());
    return block;
}

class Locator : public ::testing::Test {
protected:
    Locator() {
        locator.OnChange = [this](TSCShellLocator& changed) {
            EXPECT_EQ(&changed, &locator);
            ++changes;
        };
    }
    TSCShellLocator locator;
    int changes = 0;
    TempDir dir;
};

TEST_F(Locator, ANewLocatorIsTheDesktopAndWritesNothing) {
    EXPECT_EQ(locator.GetPidl(), nullptr);
    EXPECT_EQ(locator.GetPath(), "");
    EXPECT_FALSE(locator.HasPidlData());
    EXPECT_EQ(locator.Kind(), TSCShellLocator::KindPidl);
}

TEST_F(Locator, SetPidlFiresOnlyForAnotherValue) {
    const auto empty = MakeList({});
    locator.SetPidl(empty.get());
    EXPECT_EQ(locator.GetPidl(), nullptr);
    EXPECT_EQ(changes, 0);

    const auto folder = ParsePath(dir.Path());
    locator.SetPidl(folder.get());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(locator.GetPath(), dir.Path().string());
    EXPECT_EQ(locator.Csidl(), CSIDL_NONE);

    const LPCITEMIDLIST held = locator.GetPidl();
    const auto equal = ParsePath(dir.Path().string() + "/");
    locator.SetPidl(equal.get());
    EXPECT_EQ(changes, 1);
    EXPECT_NE(locator.GetPidl(), held); // the copy is renewed all the same

    locator.SetPidl(empty.get());
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(locator.GetPidl(), nullptr);
}

TEST_F(Locator, SetPidlTakesItsOwnList) {
    locator.SetPidl(ParsePath(dir.Path()).get());
    locator.SetPidl(locator.GetPidl());
    EXPECT_EQ(locator.GetPath(), dir.Path().string());
    EXPECT_EQ(changes, 1);
}

TEST_F(Locator, SetPathParsesLongPathsAndFallsBackToTheDesktop) {
    std::string deep = dir.Path().string();
    while (deep.size() < 300) {
        deep += "/" + std::string(50, 'p');
        std::filesystem::create_directory(deep);
    }
    locator.SetPath(deep);
    EXPECT_EQ(locator.GetPath(), deep);
    EXPECT_EQ(changes, 1);
    locator.SetPath(dir / "missing");
    EXPECT_EQ(locator.GetPidl(), nullptr);
    EXPECT_EQ(changes, 2);
    locator.SetPath(dir / "missing");
    EXPECT_EQ(changes, 2);
}

TEST_F(Locator, BlocksRoundTrip) {
    locator.SetPidl(ParsePath(dir.Path()).get());
    const Bytes block = Block(locator);
    EXPECT_EQ(block.size(), 5 + PidlSize(locator.GetPidl()));
    TSCShellLocator copy;
    Read(copy, block);
    EXPECT_TRUE(copy.IsEqual(locator));
    EXPECT_EQ(copy.GetPath(), dir.Path().string());

    Read(copy, {2, 17});
    EXPECT_EQ(Block(copy), (Bytes{1, 17}));
}

TEST_F(Locator, SpecialFolderBlocks) {
    Read(locator, {0, 0, 0, 0, 0});
    EXPECT_EQ(locator.Kind(), TSCShellLocator::KindSpecialFolder);
    EXPECT_EQ(locator.Csidl(), CSIDL_DESKTOP);
    EXPECT_TRUE(locator.HasPidlData());

    Read(locator, {2, 0x11});
    EXPECT_EQ(locator.Kind(), TSCShellLocator::KindSpecialFolder);
    EXPECT_EQ(locator.Csidl(), CSIDL_DRIVES);
    EXPECT_EQ(ComparePidls(locator.GetPidl(), SpecialFolder(CSIDL_DRIVES).get()), 0);
    EXPECT_EQ(changes, 0); // reading never fires
}

TEST_F(Locator, ASpecialFolderBlockDropsTheListHeldBefore) {
    locator.SetPidl(ParsePath(dir.Path()).get());
    Read(locator, {1, CSIDL_BITBUCKET});
    EXPECT_EQ(ComparePidls(locator.GetPidl(), SpecialFolder(CSIDL_BITBUCKET).get()), 0);
    EXPECT_EQ(locator.GetPath(), "");
}

TEST_F(Locator, MalformedBlocksFailCleanlyAndChangeNothing) {
    const auto folder = ParsePath(dir.Path());
    locator.SetPidl(folder.get());
    const Bytes before = Block(locator);
    const Bytes cases[] = {
        {},
        {1},
        {0, 4, 0},
        {0, 1, 0, 0, 0, 0},                     // count below 2
        {0, 9, 0, 0, 0, 3, 0, 'x', 0, 0},       // count past the end
        {0, 4, 0, 0, 0, 3, 0, 'x', 0},          // no terminator
        {0, 6, 0, 0, 0, 1, 0, 0, 0, 0, 0},      // an item too small
        {0, 6, 0, 0, 0, 9, 0, 'x', 'y', 0, 0},  // an item past the end
        {0, 7, 0, 0, 0, 3, 0, 'x', 0, 0, 0, 0}, // bytes after the terminator
        {0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0},      // a count nothing could hold
    };
    for (const auto& block : cases) {
        EXPECT_THROW(Read(locator, block), EReadError) << ::testing::PrintToString(block);
        EXPECT_EQ(Block(locator), before);
    }
    EXPECT_EQ(locator.GetPath(), dir.Path().string());
    Read(locator, ListBlock(std::string("\0\0", 2)));
    EXPECT_EQ(PidlSize(locator.GetPidl()), 2u);
}

TEST_F(Locator, CopyLocatorCases) {
    TSCShellLocator special17;
    Read(special17, {1, CSIDL_DRIVES});
    TSCShellLocator alsoSpecial17;
    Read(alsoSpecial17, {1, CSIDL_DRIVES});
    TSCShellLocator special10;
    Read(special10, {1, CSIDL_BITBUCKET});

    Read(locator, {1, CSIDL_DRIVES});
    locator.CopyLocator(&alsoSpecial17);
    EXPECT_EQ(changes, 0);
    locator.CopyLocator(&special10);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(locator.Csidl(), CSIDL_BITBUCKET);

    TSCShellLocator holding;
    holding.SetPidl(ParsePath(dir.Path()).get());
    locator.CopyLocator(&holding);
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(locator.IsEqual(holding));

    locator.CopyLocator(nullptr);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(locator.GetPidl(), nullptr);
    locator.CopyLocator(nullptr);
    EXPECT_EQ(changes, 3);

    TSCShellLocator desktop;
    locator.CopyLocator(&locator);
    EXPECT_EQ(changes, 3);
    Read(locator, {1, CSIDL_DRIVES});
    locator.CopyLocator(&desktop); // another kind: an empty list
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(PidlSize(locator.GetPidl()), 2u);
}

TEST_F(Locator, EqualityByKind) {
    TSCShellLocator a;
    TSCShellLocator b;
    EXPECT_TRUE(a.IsEqual(b));
    Read(a, {1, CSIDL_DRIVES});
    EXPECT_FALSE(a.IsEqual(b));
    b.SetPidl(SpecialFolder(CSIDL_DRIVES).get());
    EXPECT_FALSE(a.IsEqual(b)); // a list never equals a special folder
    Read(b, {1, CSIDL_DRIVES});
    EXPECT_TRUE(a.IsEqual(b));
}

} // namespace
} // namespace quarn::test

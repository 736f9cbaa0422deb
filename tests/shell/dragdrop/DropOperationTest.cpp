// Drops on a folder: the effect the keys choose, and copies, moves and links that never
// replace, never put a folder into itself and remove a moved source only once it is copied.
#include "shell/dragdrop/DropOperation.h"

#include "TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <sys/stat.h>
#include <utility>

namespace quarn::test {
namespace {

struct EffectCase {
    DWORD keyState;
    DWORD allowed;
    bool sameFileSystem;
    DWORD expected;
};

// The names of the bits set, joined by "+"; "none" for none.
std::string BitNames(DWORD bits, std::initializer_list<std::pair<DWORD, const char*>> names) {
    std::string text;
    for (const auto& [bit, name] : names) {
        if (bits & bit) {
            text += (text.empty() ? "" : "+") + std::string(name);
        }
    }
    return text.empty() ? "none" : text;
}

void PrintTo(const EffectCase& c, std::ostream* out) {
    *out << BitNames(c.keyState,
                     {{MK_LBUTTON, "left button"}, {MK_SHIFT, "Shift"}, {MK_CONTROL, "Ctrl"}})
         << " allowing "
         << BitNames(
                c.allowed,
                {{DROPEFFECT_COPY, "copy"}, {DROPEFFECT_MOVE, "move"}, {DROPEFFECT_LINK, "link"}})
         << (c.sameFileSystem ? " on the same file system" : " onto another file system");
}

class ChooseDropEffectTest : public ::testing::TestWithParam<EffectCase> {};

TEST_P(ChooseDropEffectTest, TakesTheEffectOfTheKeysOrTheFileSystem) {
    const EffectCase& c = GetParam();
    EXPECT_EQ(ChooseDropEffect(c.keyState, c.allowed, c.sameFileSystem), c.expected);
}

constexpr DWORD All = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

INSTANTIATE_TEST_SUITE_P(
    Keys, ChooseDropEffectTest,
    ::testing::Values(EffectCase{MK_LBUTTON, All, true, DROPEFFECT_MOVE},
                      EffectCase{MK_LBUTTON, All, false, DROPEFFECT_COPY},
                      EffectCase{MK_LBUTTON | MK_CONTROL, All, true, DROPEFFECT_COPY},
                      EffectCase{MK_LBUTTON | MK_SHIFT, All, false, DROPEFFECT_MOVE},
                      EffectCase{MK_CONTROL | MK_SHIFT, All, true, DROPEFFECT_LINK},
                      // what the items do not allow is never taken
                      EffectCase{MK_LBUTTON, DROPEFFECT_COPY, true, DROPEFFECT_COPY},
                      EffectCase{MK_LBUTTON, DROPEFFECT_LINK, false, DROPEFFECT_LINK},
                      EffectCase{MK_SHIFT, DROPEFFECT_COPY, true, DROPEFFECT_NONE},
                      EffectCase{MK_LBUTTON, DROPEFFECT_NONE, true, DROPEFFECT_NONE}));

// Every refusal lets the drop go on.
bool GoOn(const FileOperationResult&, bool) {
    return true;
}

class DropOnFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir / "source/tree/sub");
        std::filesystem::create_directories(dir / "target");
        WriteFileBytes(dir / "source/a", "a");
        WriteFileBytes(dir / "source/b", "b");
        WriteFileBytes(dir / "source/tree/sub/c", "c");
    }

    TempDir dir;
};

TEST_F(DropOnFolderTest, MovesCopiesAndLinksEveryItem) {
    const std::vector<std::string> items{dir / "source/a", dir / "source/tree/"};

    DropResult copied = DropOnFolder(dir / "target", items, DROPEFFECT_COPY, GoOn);
    EXPECT_TRUE(copied.Done());
    EXPECT_EQ(copied.effect, DROPEFFECT_COPY);
    EXPECT_EQ(ReadFileBytes(dir / "target/tree/sub/c"), "c");
    EXPECT_EQ(ReadFileBytes(dir / "source/a"), "a");

    std::filesystem::create_directory(dir / "moved");
    DropResult moved = DropOnFolder(dir / "moved", items, DROPEFFECT_MOVE, GoOn);
    EXPECT_TRUE(moved.Done());
    EXPECT_EQ(ReadFileBytes(dir / "moved/a"), "a");
    EXPECT_EQ(FolderNames(dir.Path() / "source"), (std::set<std::string>{"b"}));

    DropResult linked = DropOnFolder(dir / "source", {dir / "moved/tree"}, DROPEFFECT_LINK, GoOn);
    EXPECT_TRUE(linked.Done());
    EXPECT_EQ(std::filesystem::read_symlink(dir / "source/tree"), dir / "moved/tree");
    EXPECT_EQ(ReadFileBytes(dir / "source/tree/sub/c"), "c");
}

TEST_F(DropOnFolderTest, NeverReplacesAndGoesOnWithTheOtherItems) {
    WriteFileBytes(dir / "target/a", "kept");
    for (const DWORD effect : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK}) {
        const DropResult result =
            DropOnFolder(dir / "target", {dir / "source/a", dir / "source/b"}, effect, GoOn);
        ASSERT_EQ(result.failures.size(), 1u) << effect;
        EXPECT_EQ(result.failures[0].outcome, FileOutcome::NameTaken);
        EXPECT_NE(result.failures[0].message.find("a'"), std::string::npos);
        EXPECT_EQ(result.effect, effect);
        EXPECT_EQ(ReadFileBytes(dir / "target/a"), "kept");
        EXPECT_EQ(ReadFileBytes(dir / "source/a"), "a");
        std::filesystem::remove(dir / "target/b");
        WriteFileBytes(dir / "source/b", "b");
    }
}

// Each refusal is handed on as it comes, with whether more items follow; an answer to stop
// leaves the items after it untried.
TEST_F(DropOnFolderTest, ARefusalCanEndTheDrop) {
    WriteFileBytes(dir / "source/c", "c");
    WriteFileBytes(dir / "target/a", "kept a");
    WriteFileBytes(dir / "target/b", "kept b");
    const std::vector<std::string> items{dir / "source/a", dir / "source/b", dir / "source/c"};
    std::vector<std::pair<std::string, bool>> told;
    const auto tell = [&](const FileOperationResult& refusal, bool moreFollow) {
        told.emplace_back(refusal.message, moreFollow);
        return told.size() < 2;
    };
    const DropResult result = DropOnFolder(dir / "target", items, DROPEFFECT_MOVE, tell);
    ASSERT_EQ(told.size(), 2u);
    EXPECT_NE(told[0].first.find("source/a'"), std::string::npos);
    EXPECT_NE(told[1].first.find("source/b'"), std::string::npos);
    EXPECT_TRUE(told[0].second && told[1].second);
    EXPECT_EQ(result.failures.size(), 2u);
    EXPECT_EQ(result.effect, DROPEFFECT_NONE);
    EXPECT_EQ(FolderNames(dir.Path() / "source"), (std::set<std::string>{"a", "b", "c", "tree"}));
    EXPECT_EQ(FolderNames(dir.Path() / "target"), (std::set<std::string>{"a", "b"}));

    told.clear();
    DropOnFolder(dir / "target", {dir / "source/c", dir / "source/a"}, DROPEFFECT_MOVE, tell);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_FALSE(told[0].second) << "the last item has none after it";
    EXPECT_EQ(ReadFileBytes(dir / "target/c"), "c");
}

TEST_F(DropOnFolderTest, RefusesAFolderOnItselfOrInsideItself) {
    for (const DWORD effect : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK}) {
        for (const char* onto : {"source/tree", "source/tree/sub"}) {
            const DropResult result = DropOnFolder(dir / onto, {dir / "source/tree"}, effect, GoOn);
            ASSERT_EQ(result.failures.size(), 1u) << effect << onto;
            EXPECT_EQ(result.failures[0].outcome, FileOutcome::IntoItself);
            EXPECT_EQ(result.effect, DROPEFFECT_NONE);
        }
    }
    EXPECT_EQ(FolderNames(dir.Path() / "source/tree"), (std::set<std::string>{"sub"}));
    EXPECT_EQ(FolderNames(dir.Path() / "source/tree/sub"), (std::set<std::string>{"c"}));
}

TEST_F(DropOnFolderTest, AMoveOntoItsOwnFolderDoesNothing) {
    const DropResult result =
        DropOnFolder(dir / "source", {dir / "source/a"}, DROPEFFECT_MOVE, GoOn);
    EXPECT_TRUE(result.failures.empty());
    EXPECT_EQ(result.effect, DROPEFFECT_NONE);
    EXPECT_EQ(ReadFileBytes(dir / "source/a"), "a");
}

// /dev/shm is a memory file system on most machines, apart from the test's folders.
TEST_F(DropOnFolderTest, AMoveAcrossFileSystemsCopiesAndThenRemoves) {
    char pattern[] = "/dev/shm/quarn-drop-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        GTEST_SKIP() << "no /dev/shm";
    }
    const std::string other = pattern;
    if (OnFileSystemOf(other, {dir / "source/a"})) {
        std::filesystem::remove_all(other);
        GTEST_SKIP() << "/dev/shm is on the test's file system";
    }
    EXPECT_TRUE(OnFileSystemOf(dir / "target", {dir / "source/a", dir / "source/tree"}));
    const DropResult result =
        DropOnFolder(other, {dir / "source/a", dir / "source/tree"}, DROPEFFECT_MOVE, GoOn);
    EXPECT_TRUE(result.Done());
    EXPECT_EQ(ReadFileBytes(other + "/a"), "a");
    EXPECT_EQ(ReadFileBytes(other + "/tree/sub/c"), "c");
    EXPECT_EQ(FolderNames(dir.Path() / "source"), (std::set<std::string>{"b"}));
    std::filesystem::remove_all(other);
}

} // namespace
} // namespace quarn::test

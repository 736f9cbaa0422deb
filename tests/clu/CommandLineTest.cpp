#include "clu/CommandLine.h"

#include <gtest/gtest.h>

namespace quarn::clu {
namespace {

struct ParseCase {
    std::vector<std::string> args; // after the program
    bool accepted;
    TOperation operation;
    bool zotShell;
    std::vector<std::string> files;
};

// Names the case in test names by its arguments.
void PrintTo(const ParseCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.args);
}

class ParseCommandLineTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseCommandLineTest, SwitchesAndFiles) {
    const ParseCase& c = GetParam();
    std::vector<std::string> args{"/usr/bin/QuarnCLU"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto line = ParseCommandLine(args);
    ASSERT_EQ(line.has_value(), c.accepted);
    if (line) {
        EXPECT_EQ(line->Operation, c.operation);
        EXPECT_EQ(line->ZotShell, c.zotShell);
        EXPECT_EQ(line->Files, c.files);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseCommandLineTest,
    testing::Values(
        ParseCase{{}, false, {}, false, {}}, ParseCase{{"/w"}, false, {}, false, {}},
        ParseCase{{"/e"}, false, {}, false, {}}, ParseCase{{"/E", "a"}, false, {}, false, {}},
        ParseCase{{"-e", "a"}, false, {}, false, {}}, ParseCase{{"/x", "a"}, false, {}, false, {}},
        ParseCase{{"a", "/e"}, false, {}, false, {}},
        ParseCase{{"/e", "a"}, true, TOperation::Encrypt, false, {"a"}},
        ParseCase{{"/d", "a", "b c"}, true, TOperation::Decrypt, false, {"a", "b c"}},
        ParseCase{
            {"/w", "-reverse", "-style"}, true, TOperation::Wipe, false, {"-reverse", "-style"}},
        ParseCase{{"/w", "zotshell"}, true, TOperation::Wipe, true, {}},
        // Only the value's names are taken with the word, whatever follows it.
        ParseCase{{"/e", "zotshell", "extra"}, true, TOperation::Encrypt, true, {}},
        ParseCase{{"/e", "ZotShell"}, true, TOperation::Encrypt, false, {"ZotShell"}},
        // File names are bytes, not text.
        ParseCase{{"/e", "caf\xE9.txt"}, true, TOperation::Encrypt, false, {"caf\xE9.txt"}}));

TEST(RawArgumentsTest, KeepsEveryArgumentAsBytes) {
    char program[] = "QuarnCLU";
    char option[] = "/w";
    char reverse[] = "-reverse";
    char latin1[] = "r\xE9sum\xE9";
    char* argv[] = {program, option, reverse, latin1, nullptr};
    EXPECT_EQ(RawArguments(4, argv),
              (std::vector<std::string>{"QuarnCLU", "/w", "-reverse", "r\xE9sum\xE9"}));
}

TEST(FileListTest, RelativePathsBecomeAbsoluteAndEmptyEntriesStay) {
    const std::string work = "/home/u/work/";
    EXPECT_EQ(AbsolutePath("a.txt", work), "/home/u/work/a.txt");
    EXPECT_EQ(AbsolutePath("./a.txt", work), "/home/u/work/a.txt");
    EXPECT_EQ(AbsolutePath("sub/a.txt", work), "/home/u/work/sub/a.txt");
    EXPECT_EQ(AbsolutePath("../a.txt", work), "/home/u/work/../a.txt");
    EXPECT_EQ(AbsolutePath("/etc/a.txt", work), "/etc/a.txt");
    EXPECT_EQ(AbsolutePath("", work), "");
    EXPECT_EQ(AbsolutePath("a.txt", ""), "a.txt");

    TCommandLine line;
    line.Files = {"b.txt", "/x/c.txt"};
    EXPECT_EQ(BuildFileList({"", "/m/a.txt"}, line, work),
              (std::vector<std::string>{"", "/m/a.txt", "/home/u/work/b.txt", "/x/c.txt"}));
    line.ZotShell = true;
    EXPECT_EQ(BuildFileList({"/m/a.txt"}, line, work), (std::vector<std::string>{"/m/a.txt"}));
}

TEST(FileListTest, FolderComesFromTheFirstEntryWithAFolder) {
    EXPECT_EQ(FirstFolder({"", "", "/m/a.txt", "/x/b.txt"}), "/m/");
    EXPECT_EQ(FirstFolder({"/a.txt"}), "/");
    EXPECT_EQ(FirstFolder({"", ""}), "");
    EXPECT_EQ(FirstFolder({}), "");
}

TEST(FileListTest, WorkingFolderEndsInSlash) {
    const std::string folder = WorkingFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_EQ(folder.back(), '/');
}

} // namespace
} // namespace quarn::clu

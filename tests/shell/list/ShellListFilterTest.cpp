// The file list's filter: masks, the names it lets through, and folders always shown.
#include "shell/list/ShellListFilter.h"

#include "ListFixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace quarn::test {
namespace {

using Names = std::set<std::string>;

const Names Folders = {"sub", "link to sub"};
const Names TextFiles = {"a.txt",    "A.txt",      "c.TXT",      "w*?.txt",
                         "wide.txt", "straße.txt", "STRASSE.txt"};
const Names BinFiles = {"b.bin", "huge.bin", ListFixture::RawName};
const Names AllFiles = [] {
    Names all = TextFiles;
    all.insert(BinFiles.begin(), BinFiles.end());
    all.insert("ARCHIVE.ZIP");
    return all;
}();

Names With(Names names, const Names& more) {
    names.insert(more.begin(), more.end());
    return names;
}

struct FilterCase {
    std::string filter;
    Names shown;
};

void PrintTo(const FilterCase& filterCase, std::ostream* out) {
    *out << '"' << filterCase.filter << '"';
}

class FileFilter : public ShellListTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(FileFilter, ShowsTheFilesThatAMaskMatchesAndEveryFolder) {
    Show("files");
    list.WriteFileFilter(GetParam().filter);
    EXPECT_EQ(list.FileFilter(), GetParam().filter);
    const auto rows = RowNames(list);
    EXPECT_EQ(Names(rows.begin(), rows.end()), With(GetParam().shown, Folders));
}

INSTANTIATE_TEST_SUITE_P(
    Masks, FileFilter,
    ::testing::Values(FilterCase{"", AllFiles}, FilterCase{"*", AllFiles},
                      FilterCase{"*.*", AllFiles},
                      FilterCase{"*.txt;*.bin", With(TextFiles, BinFiles)},
                      FilterCase{"w*?.txt", {"w*?.txt", "wide.txt"}},
                      FilterCase{"*.TXT", TextFiles}, FilterCase{"a.txt", {"a.txt", "A.txt"}},
                      FilterCase{"stra?e.txt", {"straße.txt"}},
                      FilterCase{";;*.zip;", {"ARCHIVE.ZIP"}}, FilterCase{"x; *.zip", {}},
                      FilterCase{"*.*;nothing", AllFiles}, FilterCase{"huge", {}}));

TEST(FileFilterMasks, PiecesAreSplitAtSemicolonsAndKeptAsWritten) {
    EXPECT_EQ(ParseFileFilter("*.a;;*.b"), (std::vector<std::string>{"*.a", "*.b"}));
    EXPECT_EQ(ParseFileFilter(" *.a; *.b "), (std::vector<std::string>{" *.a", " *.b "}));
    EXPECT_EQ(ParseFileFilter(";"), std::vector<std::string>{});
}

TEST(FileFilterMasks, StarsAndQuestionMarksWithoutRegardToCase) {
    EXPECT_TRUE(MatchesMask("Report.TXT", "*.txt"));
    EXPECT_TRUE(MatchesMask("ÄRGER.txt", "ä*"));
    EXPECT_TRUE(MatchesMask("abc", "a?c"));
    EXPECT_FALSE(MatchesMask("ac", "a?c"));
    EXPECT_TRUE(MatchesMask("a*c", "a*c"));
    EXPECT_TRUE(MatchesMask("README", "*.*")) << "no extension matches \".*\"";
    EXPECT_TRUE(MatchesMask("read", "read.*"));
    EXPECT_FALSE(MatchesMask("readme", "read.*"));
    EXPECT_TRUE(MatchesMask("a.b.c", "*.c"));
    EXPECT_FALSE(MatchesMask("a.b.c", "*.b"));
}

TEST_F(ShellListTest, ANewFilterFillsTheListAgainAndTheSameOneDoesNot) {
    Show("files");
    int fills = 0;
    list.OnFillComplete = [&](QWidget*) { ++fills; };
    list.WriteFileFilter("*.zip");
    list.WriteFileFilter("*.zip");
    EXPECT_EQ(fills, 1);
    list.WriteOptions(list.Options() & ~scsloAutoFill);
    list.WriteFileFilter("*.bin");
    EXPECT_EQ(fills, 1) << "without AutoFill the next fill applies it";
    EXPECT_EQ(list.Count(), 3);
    list.FillFromFolder();
    EXPECT_EQ(list.Count(), 5);
}

} // namespace
} // namespace quarn::test

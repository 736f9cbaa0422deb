#include "help/HelpFuncs.h"

#include "TestFiles.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <ostream>

namespace quarn {
namespace {

using test::PathExists;
using test::TempDir;
using test::WriteFileBytes;

FileVersionText Version(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d) {
    return {{a, b, c, d}, "set"};
}

void PrintTo(const FileVersion& v, std::ostream* out) {
    *out << v.major << '.' << v.minor << '.' << v.release << '.' << v.build;
}

struct CompareCase {
    FileVersion a, b;
    int expected;
};

void PrintTo(const CompareCase& c, std::ostream* out) {
    PrintTo(c.a, out);
    *out << " vs ";
    PrintTo(c.b, out);
    *out << " -> " << c.expected;
}

class CompareVersionsTable : public testing::TestWithParam<CompareCase> {};

TEST_P(CompareVersionsTable, ComparesPartByPart) {
    const CompareCase& c = GetParam();
    EXPECT_EQ(CompareVersions(c.a, c.b), c.expected);
    EXPECT_EQ(CompareVersions(c.b, c.a), -c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CompareVersionsTable,
                         testing::Values(CompareCase{{4, 74, 8702, 0}, {4, 74, 8702, 0}, 0},
                                         CompareCase{{5, 0, 0, 0}, {4, 99, 9999, 9999}, 1},
                                         CompareCase{{4, 74, 0, 0}, {4, 73, 9999, 0}, 1},
                                         CompareCase{{4, 74, 8703, 0}, {4, 74, 8702, 65535}, 1},
                                         CompareCase{{1, 2, 3, 4}, {1, 2, 3, 5}, -1},
                                         CompareCase{{65535, 0, 0, 0}, {0, 65535, 0, 0}, 1},
                                         CompareCase{{0, 0, 0, 0}, {0, 0, 0, 0}, 0}));

struct NameCase {
    FileVersionText version;
    const char* name;
};

void PrintTo(const NameCase& c, std::ostream* out) {
    if (c.version.text.empty()) {
        *out << "no version";
    } else {
        PrintTo(c.version.version, out);
    }
    *out << " -> \"" << c.name << '"';
}

class HtmlHelpNames : public testing::TestWithParam<NameCase> {};

TEST_P(HtmlHelpNames, FirstRowThatHolds) {
    EXPECT_EQ(HtmlHelpFriendlyName(GetParam().version), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HtmlHelpNames,
    testing::Values(
        NameCase{Version(4, 74, 9300, 0), "> 1.33"}, NameCase{Version(4, 74, 9273, 1), "> 1.33"},
        NameCase{Version(4, 74, 9273, 0), "1.33"}, NameCase{Version(4, 74, 9272, 0), "1.32"},
        NameCase{Version(4, 74, 8857, 0), "1.32"}, NameCase{Version(4, 74, 8793, 0), "1.31"},
        NameCase{Version(4, 74, 8702, 0), "1.3"}, NameCase{Version(4, 73, 8561, 0), "1.22"},
        NameCase{Version(4, 73, 8474, 0), "1.21a"}, NameCase{Version(4, 73, 8412, 0), "1.21"},
        NameCase{Version(4, 73, 8252, 0), "1.2"}, NameCase{Version(4, 72, 8164, 0), "1.1b"},
        NameCase{Version(4, 72, 7325, 0), "1.1a"}, NameCase{Version(4, 72, 7323, 0), "1.1"},
        NameCase{Version(4, 72, 7290, 0), "1.0"}, NameCase{Version(4, 72, 7289, 9), "< 1.0"},
        NameCase{Version(4, 71, 0, 0), "< 1.0"}, NameCase{Version(1, 0, 0, 1), "< 1.0"},
        NameCase{FileVersionText{}, ""}));

class BrowserNames : public testing::TestWithParam<NameCase> {};

TEST_P(BrowserNames, FirstRowThatHolds) {
    EXPECT_EQ(BrowserFriendlyName(GetParam().version), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrowserNames,
    testing::Values(
        NameCase{Version(6, 4, 2, 0), "> Internet Explorer 6"},
        NameCase{Version(6, 0, 2600, 0), "Internet Explorer 6 (Windows XP)"},
        NameCase{Version(6, 0, 2599, 0), "Internet Explorer 6 Public Preview (Beta) Refresh"},
        NameCase{Version(6, 0, 2462, 0), "Internet Explorer 6 Public Preview (Beta)"},
        NameCase{Version(5, 50, 4807, 2300), "Internet Explorer 5.5 Service Pack 2"},
        NameCase{Version(5, 50, 4522, 1800), "Internet Explorer 5.5 Service Pack 1"},
        NameCase{Version(5, 50, 4308, 2900),
                 "Internet Explorer 5.5 Advanced Security Privacy Beta"},
        NameCase{Version(5, 50, 4134, 600), "Internet Explorer 5.5"},
        NameCase{Version(5, 50, 4134, 599), "Internet Explorer 5.5 for Windows Me (4.90.3000)"},
        NameCase{Version(5, 50, 4030, 2400), "Internet Explorer 5.5 & Internet Tools Beta"},
        NameCase{Version(5, 50, 3825, 1300), "Internet Explorer 5.5 Developer Preview"},
        NameCase{Version(5, 0, 2919, 6400), "Internet Explorer 5.01"},
        NameCase{Version(5, 0, 2919, 6307), "Internet Explorer 5.01"},
        NameCase{Version(5, 0, 2919, 6306),
                 "Internet Explorer 5.01 (Windows 2000 RC2, build 5.00.2128)"},
        NameCase{Version(5, 0, 2919, 800),
                 "Internet Explorer 5.01 (Windows 2000 RC1, build 5.00.2072)"},
        NameCase{Version(5, 0, 2723, 2900), "Internet Explorer 5.0 updated"},
        NameCase{Version(5, 0, 2721, 1400), "Internet Explorer 5.0 updated"},
        NameCase{Version(5, 0, 2614, 0), "Internet Explorer 5.0b"},
        NameCase{Version(5, 0, 2314, 0), "Internet Explorer 5.0a"},
        NameCase{Version(5, 0, 2014, 0), "Internet Explorer 5.0"},
        NameCase{Version(5, 0, 910, 0), "Internet Explorer 5 Beta (Beta 2)"},
        NameCase{Version(5, 0, 518, 0), "Internet Explorer 5 Developer Preview (Beta 1)"},
        NameCase{Version(4, 72, 3612, 0), "Internet Explorer 4.01 Service Pack 2 (SP2)"},
        NameCase{Version(4, 72, 3110, 0), "Internet Explorer 4.01 Service Pack 1 (SP1)"},
        NameCase{Version(4, 72, 2106, 0), "Internet Explorer 4.01"},
        NameCase{Version(4, 71, 1712, 0), "Internet Explorer 4.0"},
        NameCase{Version(4, 71, 1008, 0), "Internet Explorer 4.0 Platform Preview 2.0 (PP2)"},
        NameCase{Version(4, 71, 544, 0), "Internet Explorer 4.0 Platform Preview 1.0 (PP1)"},
        NameCase{Version(4, 70, 1300, 0), "Internet Explorer 3.02"},
        NameCase{Version(4, 70, 1215, 0), "Internet Explorer 3.01"},
        NameCase{Version(4, 70, 1158, 0), "Internet Explorer 3.0 (OSR2)"},
        NameCase{Version(4, 70, 1155, 0), "Internet Explorer 3.0"},
        NameCase{Version(4, 40, 520, 0), "Internet Explorer 2.0"},
        NameCase{Version(4, 40, 308, 0), "Internet Explorer 1.0 (Plus!)"},
        NameCase{Version(4, 40, 307, 0), "< Internet Explorer 1.0 (Plus!)"},
        NameCase{FileVersionText{}, ""}));

TEST(AdjustBrowserVersion, MovesTheBuildOfOldVersionsIntoTheRelease) {
    const FileVersionText old = AdjustBrowserVersion({{4, 70, 0, 1155}, "4.70.0.1155"});
    EXPECT_EQ(old.text, "4.70.1155.0");
    EXPECT_EQ(CompareVersions(old.version, {4, 70, 1155, 0}), 0);
    EXPECT_EQ(BrowserFriendlyName(old), "Internet Explorer 3.0");
    // Minor above 70, a release already set, or no version at all: unchanged.
    EXPECT_EQ(AdjustBrowserVersion({{4, 71, 0, 544}, "4.71.0.544"}).text, "4.71.0.544");
    EXPECT_EQ(AdjustBrowserVersion({{4, 40, 308, 1}, "4.40.308.1"}).text, "4.40.308.1");
    EXPECT_EQ(AdjustBrowserVersion({}).text, "");
}

TEST(HelpHelpers, TextHelpers) {
    EXPECT_EQ(StripTrailingChar("/usr/lib///", '/'), "/usr/lib");
    EXPECT_EQ(StripTrailingChar("///", '/'), "");
    EXPECT_EQ(StripTrailingChar("a/b", '/'), "a/b");
    EXPECT_EQ(StripTrailingChar("", '/'), "");
    EXPECT_EQ(RepeatChar('-', 3), "---");
    EXPECT_EQ(RepeatChar('=', 0), "");
    EXPECT_EQ(YesNoText(true), "YES");
    EXPECT_EQ(YesNoText(false), "NO");
}

TEST(HelpHelpers, GetFileVersionTextOfTheControlAndOfOtherFiles) {
    const FileVersionText control = GetFileVersionText(QUARN_HTMLHELP_PATH);
    const std::string expected =
        std::to_string(QUARN_VERSION_MAJOR) + "." + std::to_string(QUARN_VERSION_MINOR) + "." +
        std::to_string(QUARN_VERSION_RELEASE) + "." + std::to_string(QUARN_VERSION_BUILD);
    EXPECT_EQ(control.text, expected);
    EXPECT_EQ(control.version.major, QUARN_VERSION_MAJOR);
    EXPECT_EQ(control.version.build, QUARN_VERSION_BUILD);

    TempDir dir;
    WriteFileBytes(dir / "plain", "no version here");
    for (const std::string& path : {dir / "plain", dir / "missing", std::string()}) {
        const FileVersionText none = GetFileVersionText(path);
        EXPECT_EQ(none.text, "");
        EXPECT_EQ(CompareVersions(none.version, {}), 0);
    }
}

TEST(HelpHelpers, FoldersCarryNoTrailingSlash) {
    EXPECT_FALSE(GetSystemFolder().empty());
    EXPECT_NE(GetSystemFolder().back(), '/');

    TempDir dir;
    const char* saved = std::getenv("TMPDIR");
    const std::string previous = saved != nullptr ? saved : "";
    setenv("TMPDIR", dir.Folder().c_str(), 1);
    EXPECT_EQ(GetTempFolder(), dir.Path().string());
    setenv("TMPDIR", (dir / "missing").c_str(), 1);
    EXPECT_EQ(GetTempFolder(), ""); // the root
    if (saved != nullptr) {
        setenv("TMPDIR", previous.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
}

TEST(HelpHelpers, IsFolderWritableLeavesNoTrace) {
    TempDir dir;
    EXPECT_TRUE(IsFolderWritable(dir.Path().string()));
    EXPECT_FALSE(PathExists(dir / "$_Temp_$.$$$"));
    WriteFileBytes(dir / "file", "x");
    EXPECT_FALSE(IsFolderWritable(dir / "file"));    // not a folder
    EXPECT_FALSE(IsFolderWritable(dir / "missing")); // no folder at all
}

} // namespace
} // namespace quarn

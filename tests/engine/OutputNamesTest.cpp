#include "engine/OutputNames.h"

#include "TestFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarn::test {
namespace {

struct EncryptedCase {
    const char* path;
    bool encrypted;
};

void PrintTo(const EncryptedCase& param, std::ostream* out) {
    *out << '"' << param.path << '"';
}

class IsEncryptedFileCases : public testing::TestWithParam<EncryptedCase> {};

TEST_P(IsEncryptedFileCases, LooksAtTheNamePartsLastExtensionOnly) {
    EXPECT_EQ(IsEncryptedFile(GetParam().path), GetParam().encrypted) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Names, IsEncryptedFileCases,
    testing::Values(EncryptedCase{"/a/b.zot!", true}, EncryptedCase{"/a/B.ZOT!", true},
                    EncryptedCase{"b.Zot!", true}, EncryptedCase{"/a/.zot!", true},
                    EncryptedCase{"/a/b.zot!.txt", false}, EncryptedCase{"/a/b.zot", false},
                    EncryptedCase{"/a/zot!", false}, EncryptedCase{"/x.zot!/README", false},
                    EncryptedCase{"", false}));

struct OutputCase {
    bool encryptName;
    bool appendExtension;
    const char* source;
    const char* expected;
};

void PrintTo(const OutputCase& param, std::ostream* out) {
    *out << (param.encryptName       ? "number "
             : param.appendExtension ? "append "
                                     : "replace ")
         << param.source;
}

class EncryptedOutputPathCases : public testing::TestWithParam<OutputCase> {};

TEST_P(EncryptedOutputPathCases, FollowsTheNamingSettings) {
    TempDir dir;
    EngineOptions options;
    options.EncryptName = GetParam().encryptName;
    options.AppendExtension = GetParam().appendExtension;
    EXPECT_EQ(EncryptedOutputPath(GetParam().source, dir.Folder(), options),
              std::string(GetParam().expected).empty() ? dir.Folder() + "0.zot!"
                                                       : GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, EncryptedOutputPathCases,
    testing::Values(OutputCase{false, true, "/d/report.txt", "/d/report.txt.zot!"},
                    OutputCase{false, false, "/d/report.txt", "/d/report.zot!"},
                    OutputCase{false, false, "/d/archive.tar.gz", "/d/archive.tar.zot!"},
                    OutputCase{false, false, "/d/README", "/d/README.zot!"},
                    OutputCase{false, false, "/my.dir/README", "/my.dir/README.zot!"},
                    OutputCase{false, true, "/my.dir/README", "/my.dir/README.zot!"},
                    // EncryptName wins over AppendExtension; "" stands for folder + "0.zot!".
                    OutputCase{true, true, "/d/report.txt", ""}));

TEST(NextNumberedName, TakesTheFirstNumberNoEntryHolds) {
    TempDir dir;
    EXPECT_EQ(NextNumberedName(dir.Folder()), "0.zot!");
    WriteFileBytes(dir / "1.zot!", "x");
    EXPECT_EQ(NextNumberedName(dir.Folder()), "0.zot!");
    WriteFileBytes(dir / "0.zot!", "x");
    ASSERT_EQ(::symlink("nowhere", (dir / "2.zot!").c_str()), 0); // dangling link
    ASSERT_EQ(::mkdir((dir / "3.zot!").c_str(), 0700), 0);
    EXPECT_EQ(NextNumberedName(dir.Folder()), "4.zot!");
}

} // namespace
} // namespace quarn::test

// Staged files and staged folders draw their names alike, each under its own prefix, so that
// neither sweep takes the other's.
#include "platform/StagedFileName.h"

#include "platform/StagedFolder.h"

#include <gtest/gtest.h>
#include <string>

namespace quarn::test {
namespace {

TEST(StagingNames, FilesAndFoldersEachKnowOnlyTheirOwn) {
    const struct {
        std::string name;
        bool file;
        bool folder;
    } cases[] = {
        {"quarn-aZ09xy.part", true, false},  {".quarn-aZ09xy.part", false, true},
        {"quarn-aZ09x.part", false, false},  {"quarn-aZ09xyz.part", false, false},
        {"quarn-aZ-9xy.part", false, false}, {"quarn-aZ09xy.parts", false, false},
        {"Quarn-aZ09xy.part", false, false}, {"..quarn-aZ09xy.part", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsStagedName(c.name), c.file) << c.name;
        EXPECT_EQ(IsStagingFolderName(c.name), c.folder) << c.name;
    }
}

TEST(StagingNames, FreshOnesHaveTheirFormAndDiffer) {
    const std::string file = FreshStagedName("/some/folder/final");
    ASSERT_TRUE(file.starts_with("/some/folder/")) << file;
    EXPECT_TRUE(IsStagedName(NamePart(file))) << file;
    const std::string folder = FreshStagingName(".quarn-");
    EXPECT_TRUE(IsStagingFolderName(folder)) << folder;
    EXPECT_NE(FreshStagingName("quarn-"), FreshStagingName("quarn-"));
}

} // namespace
} // namespace quarn::test

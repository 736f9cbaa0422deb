// Which items the main window's tree and list show.
#include "app/ItemFilters.h"

#include "CaseNames.h"
#include "namespace/ShellConstants.h"
#include "shell/idlist/ShellFolders.h"

#include <gtest/gtest.h>

namespace quarn {
namespace {

constexpr SFGAOF FileAttributes = SFGAO_FILESYSTEM | SFGAO_CANCOPY;
constexpr SFGAOF FolderAttributes = SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_HASSUBFOLDER;

struct ListCase {
    const char* name;
    SFGAOF attributes;
    const char* parsingName;
    bool shown;
};

void PrintTo(const ListCase& c, std::ostream* out) {
    *out << c.name;
}

class ListFilter : public testing::TestWithParam<ListCase> {};

TEST_P(ListFilter, ShowsFilesAndArchivesOnly) {
    EXPECT_EQ(ListShowsItem(GetParam().attributes, GetParam().parsingName), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListFilter,
    testing::Values(ListCase{"PlainFile", FileAttributes, "/data/report.txt", true},
                    ListCase{"Archive", FileAttributes, "/data/backup.ZIP", true},
                    // Only a virtual item's parsing name begins with "::".
                    ListCase{"ColonsInAName", FileAttributes, "/data/a::b.txt", true},
                    ListCase{"VirtualItem", 0, "::Trash/report.txt", false},
                    ListCase{"LinkToAFile", FileAttributes | SFGAO_LINK, "/data/link", false},
                    ListCase{"Folder", FolderAttributes, "/data/photos", false},
                    // A folder named like an archive is still a folder.
                    ListCase{"FolderNamedZip", FolderAttributes, "/data/old.zip", false},
                    ListCase{"LinkToAFolder", FolderAttributes | SFGAO_LINK, "/data/l", false}),
    quarn::test::CaseName());

TEST(TreeFilter, LeavesOutTheTrashOnly) {
    LPITEMIDLIST trash = nullptr;
    ASSERT_EQ(GetSpecialFolderPidl(nullptr, CSIDL_BITBUCKET, trash), S_OK);
    const PidlPtr ownedTrash(trash);
    EXPECT_FALSE(TreeShowsItem(nullptr, trash));
    for (const int csidl : {CSIDL_PROFILE, CSIDL_DRIVES}) {
        LPITEMIDLIST other = nullptr;
        ASSERT_EQ(GetSpecialFolderPidl(nullptr, csidl, other), S_OK);
        const PidlPtr owned(other);
        EXPECT_TRUE(TreeShowsItem(nullptr, other)) << csidl;
    }
}

} // namespace
} // namespace quarn

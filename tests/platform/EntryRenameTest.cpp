// Renames in place: names the file system cannot take as one name are refused, a taken name
// is never replaced, and every refusal names both names.
#include "platform/EntryRename.h"

#include "TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

struct RenameCase {
    std::string newName;
    FileOutcome outcome;
    std::string cause; // after "Unable to rename 'old' to '<new>': "
};

TEST(RenameEntry, TableOfNames) {
    const std::string raw = "r\xe9sum\xe9"; // Latin-1, not UTF-8
    const std::string longest(255, 'n');
    const RenameCase cases[] = {
        {"new name.txt", FileOutcome::Done, ""},
        {raw, FileOutcome::Done, ""},
        {longest, FileOutcome::Done, ""},
        {"old", FileOutcome::Done, ""},
        {"sibling", FileOutcome::NameTaken, "A file or folder of that name already exists."},
        {"folder", FileOutcome::NameTaken, "A file or folder of that name already exists."},
        {"", FileOutcome::BadName, "A name cannot be empty."},
        {"a/b", FileOutcome::BadName, "A name cannot contain \"/\"."},
        {"/", FileOutcome::BadName, "A name cannot contain \"/\"."},
        {std::string("a\0b", 3), FileOutcome::BadName, "A name cannot contain a NUL character."},
        {".", FileOutcome::BadName, "\".\" and \"..\" cannot be used as names."},
        {"..", FileOutcome::BadName, "\".\" and \"..\" cannot be used as names."},
        {std::string(256, 'n'), FileOutcome::BadName, "A name cannot be longer than 255 bytes."},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteFileBytes(dir / "old", "old");
        WriteFileBytes(dir / "sibling", "sibling");
        std::filesystem::create_directory(dir / "folder");
        const auto result = RenameEntry(dir / "old", c.newName);
        EXPECT_EQ(result.outcome, c.outcome) << c.newName;
        if (c.outcome == FileOutcome::Done) {
            EXPECT_TRUE(result.message.empty());
            EXPECT_EQ(ReadFileBytes(dir / c.newName), "old");
            EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"folder", "sibling", c.newName}));
            continue;
        }
        const std::string shownNew =
            c.newName.find('\0') != std::string::npos ? "a\\0b" : c.newName;
        EXPECT_EQ(result.message, "Unable to rename 'old' to '" + shownNew + "': " + c.cause);
        EXPECT_EQ(ReadFileBytes(dir / "old"), "old");
        EXPECT_EQ(ReadFileBytes(dir / "sibling"), "sibling");
        EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"folder", "old", "sibling"}));
    }
}

TEST(RenameEntry, AFolderKeepsItsContentsAndAMissingEntryGivesTheSystemsReason) {
    TempDir dir;
    std::filesystem::create_directory(dir / "folder");
    WriteFileBytes(dir / "folder/inner", "inner");
    ASSERT_TRUE(RenameEntry(dir / "folder", "renamed").Done());
    EXPECT_EQ(ReadFileBytes(dir / "renamed/inner"), "inner");

    const auto missing = RenameEntry(dir / "missing", "other");
    EXPECT_EQ(missing.outcome, FileOutcome::Failed);
    EXPECT_EQ(missing.message, "Unable to rename 'missing' to 'other': No such file or directory.");
}

} // namespace
} // namespace quarn::test

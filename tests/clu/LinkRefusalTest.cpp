// A symbolic link named on the command line is refused, and neither it nor its target changes.
#include "CluFixture.h"

#include <filesystem>

namespace quarn::clu::test {
namespace {

TEST_F(CluTest, EncryptAndDecryptRefuseLinksAndChangeNothing) {
    WriteFileBytes(dir / "target.txt", "plain target");
    std::filesystem::create_symlink(dir / "target.txt", dir.Path() / "link");
    std::filesystem::create_symlink(dir / "nowhere", dir.Path() / "dangling.zot!");
    const std::vector<std::string> before = Names(dir.Folder());

    RunWithPassword({"/e", dir / "link"}, "correct horse");
    RunWithPassword({"/d", dir / "dangling.zot!"}, "correct horse");
    EXPECT_EQ(messages->Texts(),
              (std::vector<std::string>{
                  "Unable to encrypt file 'link': It is not a regular file.",
                  "Unable to decrypt file 'dangling.zot!': It is not a regular file."}));
    EXPECT_EQ(Names(dir.Folder()), before);
    EXPECT_EQ(ReadFileBytes(dir / "target.txt"), "plain target");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "link"));
}

} // namespace
} // namespace quarn::clu::test

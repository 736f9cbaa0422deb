#include "CaseNames.h"
#include "ContainerTestSupport.h"

#include <gtest/gtest.h>
#include <iomanip>
#include <sstream>
#include <sys/stat.h>

namespace quarn::test {
namespace {

struct RoundTripCase {
    const char* label;
    std::string password;
    std::string name;
    std::size_t size;
};

void PrintTo(const RoundTripCase& param, std::ostream* out) {
    *out << param.label;
}

// Header of "password" + "data.bin": 18 bytes.
const std::string Password = "password";
const std::string Name = "data.bin";
constexpr std::size_t Header = 18;

class ContainerRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(ContainerRoundTrip, MatchesFormatAndComesBackByteForByte) {
    const auto& param = GetParam();
    TempDir sources, containers, outputs;
    const std::string contents = PatternBytes(param.size, static_cast<unsigned>(param.size));
    WriteFileBytes(sources / param.name, contents);
    TRijndael cipher;
    ContainerTestView view;

    const std::string container = containers / "c.zot!";
    const auto written = WriteContainer(cipher, view, sources / param.name, container, param.name,
                                        param.password, NoClashExpected);
    ASSERT_TRUE(written.done);
    EXPECT_TRUE(written.dataLoopRan);
    EXPECT_EQ(written.outputPath, container);
    EXPECT_FALSE(cipher.KeySet());
    EXPECT_FALSE(cipher.IVSet());
    const std::string stored = ReadFileBytes(container);
    const std::string plain = ContainerPlain(param.password, param.name, contents);
    EXPECT_EQ(stored.size(), plain.size());
    EXPECT_TRUE(stored == ContainerCipher(param.password, plain)) << "not the format's bytes";
    EXPECT_EQ(FolderNames(containers), std::set<std::string>{"c.zot!"});
    EXPECT_EQ(view.progress.back(), 100);

    const auto read = ReadContainer(cipher, view, container, outputs.Folder(), "c.zot!",
                                    param.password, TakeProposed);
    ASSERT_TRUE(read.done);
    EXPECT_TRUE(read.dataLoopRan);
    EXPECT_EQ(read.outputPath, outputs / param.name);
    EXPECT_TRUE(ReadFileBytes(outputs / param.name) == contents);
    EXPECT_EQ(FolderNames(outputs), std::set<std::string>{param.name});
    EXPECT_TRUE(view.messages.shown.empty());
    EXPECT_FALSE(cipher.KeySet());
    EXPECT_TRUE(PathExists(container)) << "the caller deletes the container, not the reader";
}

INSTANTIATE_TEST_SUITE_P(
    ContainerSizes, ContainerRoundTrip,
    testing::Values(RoundTripCase{"OneByte", Password, Name, 1},
                    RoundTripCase{"Fifteen", Password, Name, 15},
                    RoundTripCase{"Sixteen", Password, Name, 16},
                    RoundTripCase{"HeaderPlusDataIsBlocks", Password, Name, 32 - Header},
                    RoundTripCase{"FirstChunkLessOne", Password, Name, 4096 - Header - 1},
                    RoundTripCase{"FirstChunkExactly", Password, Name, 4096 - Header},
                    RoundTripCase{"FirstChunkPlusOne", Password, Name, 4096 - Header + 1},
                    RoundTripCase{"Chunk", Password, Name, 4096},
                    RoundTripCase{"ChunkPlusOne", Password, Name, 4097},
                    RoundTripCase{"TwoChunks", Password, Name, 8192},
                    RoundTripCase{"ThreeChunksExactly", Password, Name, 3 * 4096 - Header},
                    RoundTripCase{"Large", Password, Name, 100000},
                    RoundTripCase{"TwentyByteHeader", "pw", "sixteen-chars.tx", 4096},
                    RoundTripCase{"LongestPassword", std::string(255, 'k'), Name, 5000},
                    RoundTripCase{"SeparatorFirstInPasswordAndName", "\x0Epass", "\x0Ename", 40},
                    RoundTripCase{"NotUtf8Name", "p\xe4sswort", "caf\xe9 \xff\xfe.txt", 300}),
    CaseName());

TEST(ContainerFormat, OneByteFileFiveCharNameOneCharPasswordIsOneBlock) {
    TempDir folder;
    WriteFileBytes(folder / "abcde", "x");
    TRijndael cipher;
    ContainerTestView view;
    ASSERT_TRUE(WriteContainer(cipher, view, folder / "abcde", folder / "abcde.zot!", "abcde", "k",
                               NoClashExpected)
                    .done);
    const std::string stored = ReadFileBytes(folder / "abcde.zot!");
    ASSERT_EQ(stored.size(), 16u);
    EXPECT_EQ(ContainerCipher("k", stored, false), std::string("k\x0E"
                                                               "abcde\x0E"
                                                               "x") +
                                                       std::string(7, '\x07'));
}

// A link is never read through: neither the link nor its target changes, and no output is made.
TEST(ContainerFormat, SourceSymbolicLinkIsNotARegularFile) {
    TempDir folder, outputs;
    WriteFileBytes(folder / "target",
                   ContainerCipher(Password, ContainerPlain(Password, "t", "x")));
    std::filesystem::create_symlink(folder / "target", folder / "link.zot!");
    TRijndael cipher;
    ContainerTestView view;
    EXPECT_FALSE(WriteContainer(cipher, view, folder / "link.zot!", outputs / "c", "link.zot!",
                                Password, NoClashExpected)
                     .dataLoopRan);
    EXPECT_FALSE(ReadContainer(cipher, view, folder / "link.zot!", outputs.Folder(), "link.zot!",
                               Password, TakeProposed)
                     .dataLoopRan);
    EXPECT_EQ(view.messages.Texts(),
              (std::vector<std::string>{
                  "Unable to encrypt file 'link.zot!': It is not a regular file.",
                  "Unable to decrypt file 'link.zot!': It is not a regular file."}));
    EXPECT_TRUE(FolderNames(outputs).empty());
    EXPECT_EQ(FolderNames(folder), (std::set<std::string>{"link.zot!", "target"}));
}

struct PermissionCase {
    mode_t mode;
};

void PrintTo(const PermissionCase& param, std::ostream* out) {
    *out << std::oct << std::setfill('0') << std::setw(4) << param.mode;
}

class ContainerPermissions : public testing::TestWithParam<PermissionCase> {};

// The container takes the source's bits and the decrypted file the container's, whatever
// the umask: a private file never becomes readable by others on the way.
TEST_P(ContainerPermissions, CarriedFromSourceToContainerToOutput) {
    const mode_t mode = GetParam().mode;
    const mode_t oldMask = ::umask(0);
    TempDir folder, outputs;
    WriteFileBytes(folder / "secret", "top secret");
    ASSERT_EQ(::chmod((folder / "secret").c_str(), mode), 0);
    TRijndael cipher;
    ContainerTestView view;
    ASSERT_TRUE(WriteContainer(cipher, view, folder / "secret", folder / "s.zot!", "secret",
                               Password, NoClashExpected)
                    .done);
    EXPECT_EQ(ModeOf(folder / "s.zot!"), mode);

    ASSERT_EQ(::chmod((folder / "s.zot!").c_str(), mode & 0700), 0);
    ASSERT_TRUE(ReadContainer(cipher, view, folder / "s.zot!", outputs.Folder(), "s.zot!", Password,
                              TakeProposed)
                    .done);
    EXPECT_EQ(ModeOf(outputs / "secret"), mode & 0700);
    ::umask(oldMask);
}

INSTANTIATE_TEST_SUITE_P(ContainerModes, ContainerPermissions,
                         testing::Values(PermissionCase{0600}, PermissionCase{0640},
                                         PermissionCase{0644}, PermissionCase{0755},
                                         PermissionCase{0400}, PermissionCase{0666}),
                         [](const auto& info) {
                             std::ostringstream name;
                             name << "Mode" << std::oct << info.param.mode;
                             return name.str();
                         });

} // namespace
} // namespace quarn::test

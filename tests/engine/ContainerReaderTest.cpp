#include "CaseNames.h"
#include "ContainerTestSupport.h"

#include <gtest/gtest.h>

namespace quarn::test {
namespace {

const std::string Password = "password";

// A container file holding bytes the writer never makes, read into an empty folder.
class ContainerReaderFixture : public testing::Test {
protected:
    ContainerResult Read(const std::string& fileBytes, const std::string& password = Password) {
        WriteFileBytes(container_, fileBytes);
        return ReadContainer(cipher_, view_, container_, outputs_.Folder(), "in.zot!", password,
                             TakeProposed);
    }
    // Shown nothing but the one warning, left no output and kept the container.
    void ExpectRefused(const ContainerResult& result, const std::string& cause,
                       const std::string& fileBytes) {
        EXPECT_FALSE(result.done);
        EXPECT_EQ(view_.messages.Texts(),
                  std::vector<std::string>{DecryptPrefix + "in.zot!': " + cause});
        EXPECT_EQ(view_.messages.shown.at(0).kind, MessageKind::Warning);
        EXPECT_EQ(view_.messages.shown.at(0).buttons, MessageButtons::Ok);
        EXPECT_TRUE(FolderNames(outputs_).empty());
        EXPECT_TRUE(ReadFileBytes(container_) == fileBytes);
        EXPECT_FALSE(cipher_.KeySet());
    }

    TempDir sources_, outputs_;
    std::string container_ = sources_ / "in.zot!";
    TRijndael cipher_;
    ContainerTestView view_;
};

struct CraftedCase {
    const char* label;
    std::string fileBytes;
    const char* cause;
};

void PrintTo(const CraftedCase& param, std::ostream* out) {
    *out << param.label;
}

class ContainerCrafted : public ContainerReaderFixture,
                         public testing::WithParamInterface<CraftedCase> {};

TEST_P(ContainerCrafted, RefusedWithItsMessage) {
    const auto result = Read(GetParam().fileBytes);
    ExpectRefused(result, GetParam().cause, GetParam().fileBytes);
    EXPECT_FALSE(result.dataLoopRan);
}

std::string Sealed(const std::string& plain) {
    return ContainerCipher(Password, plain);
}
std::string Header(const std::string& name) {
    return Password + '\x0E' + name + '\x0E';
}
// Header, contents and padding bytes as given, whatever their values.
std::string SealedRaw(const std::string& name, const std::string& tail) {
    return Sealed(Header(name) + tail);
}

const char* NotValid = "Not a valid Quarn! file.";
const char* Corrupt = "The file is corrupt.";
const char* WrongPassword = "Invalid password.";

// Header of 18 bytes ("password", "data.bin"), so a tail of 14 bytes ends the first block.
INSTANTIATE_TEST_SUITE_P(
    ContainerReader, ContainerCrafted,
    testing::Values(
        CraftedCase{"Empty", "", NotValid},
        CraftedCase{"SevenBytes", std::string(7, 'x'), NotValid},
        CraftedCase{"EightBytes", std::string(8, 'x'), NotValid},
        CraftedCase{"FifteenBytes", std::string(15, 'x'), NotValid},
        CraftedCase{"SeventeenBytes", Sealed(ContainerPlain(Password, "a", "b")) + "x", Corrupt},
        CraftedCase{"ChunkPlusFour", PatternBytes(4100), Corrupt},
        CraftedCase{"PaddingZero", SealedRaw("data.bin", std::string(13, 'c') + '\0'), Corrupt},
        CraftedCase{"PaddingSeventeen", SealedRaw("data.bin", std::string(13, 'c') + '\x11'),
                    Corrupt},
        CraftedCase{"PaddingUnequal", SealedRaw("data.bin", std::string(11, 'c') + "\x03\x02\x03"),
                    Corrupt},
        CraftedCase{"PaddingBeyondData", SealedRaw("data.bin", std::string(14, '\x10')), Corrupt},
        CraftedCase{"NameDot", Sealed(ContainerPlain(Password, ".", "x")), Corrupt},
        CraftedCase{"NameDotDot", Sealed(ContainerPlain(Password, "..", "x")), Corrupt},
        CraftedCase{"NameWithFolder", Sealed(ContainerPlain(Password, "../../etc/x", "x")),
                    Corrupt},
        CraftedCase{"NameSlash", Sealed(ContainerPlain(Password, "/", "x")), Corrupt},
        CraftedCase{"NameWithNul", Sealed(ContainerPlain(Password, std::string("a\0b", 3), "x")),
                    Corrupt},
        CraftedCase{"NoSecondSeparator", Sealed(Password + '\x0E' + std::string(23, 'n')), Corrupt},
        CraftedCase{"SeparatorsOnly", Sealed(Password + '\x0E' + std::string(7, '\x0E')), Corrupt},
        CraftedCase{"NoSeparatorAtAll", Sealed(std::string(32, 'p')), WrongPassword},
        CraftedCase{"OtherPassword",
                    ContainerCipher("Password", ContainerPlain("Password", "a", "b")),
                    WrongPassword}),
    CaseName());

// A stored password equal to the whole first block, with no separator after it.
TEST_F(ContainerReaderFixture, WholeChunkAsPasswordWithoutNameIsCorrupt) {
    const std::string password(16, 'p');
    const std::string bytes = ContainerCipher(password, password);
    ExpectRefused(Read(bytes, password), Corrupt, bytes);
}

TEST_F(ContainerReaderFixture, FirstSeparatorEndingTheChunkLeavesNoName) {
    const std::string password = "fifteen-chars!!";
    const std::string bytes = ContainerCipher(password, password + '\x0E');
    ExpectRefused(Read(bytes, password), Corrupt, bytes);
}

TEST_F(ContainerReaderFixture, PasswordInOtherLetterCaseIsInvalid) {
    const std::string bytes = Sealed(ContainerPlain(Password, "a.txt", "contents"));
    ExpectRefused(Read(bytes, "PASSWORD"), WrongPassword, bytes);
}

TEST_F(ContainerReaderFixture, StoredPasswordMustMatchInLengthToo) {
    const std::string bytes = Sealed(ContainerPlain(Password, "a.txt", "contents"));
    ExpectRefused(Read(bytes, "passwor"), WrongPassword, bytes);
}

// Damage found only in the last chunk, after the output was begun: nothing is left of it.
TEST_F(ContainerReaderFixture, TruncatedAfterFirstChunkLeavesNoOutput) {
    const std::string full = Sealed(ContainerPlain(Password, "a.txt", std::string(9000, 'A')));
    const std::string bytes = full.substr(0, 8192);
    const auto result = Read(bytes);
    ExpectRefused(result, Corrupt, bytes);
    EXPECT_TRUE(result.dataLoopRan);
}

TEST_F(ContainerReaderFixture, BadPaddingInLastOfSeveralChunksIsCorrupt) {
    const std::string plain = Header("a.txt") + std::string(8192, 'A') + '\x06';
    const std::string bytes = Sealed(plain);
    ExpectRefused(Read(bytes), Corrupt, bytes);
}

TEST_F(ContainerReaderFixture, MissingContainerIsInUse) {
    const auto result = ReadContainer(cipher_, view_, sources_ / "none.zot!", outputs_.Folder(),
                                      "in.zot!", Password, TakeProposed);
    EXPECT_FALSE(result.done);
    EXPECT_EQ(view_.messages.Texts(),
              std::vector<std::string>{DecryptPrefix +
                                       "in.zot!': The file may be in use by another program."});
}

TEST_F(ContainerReaderFixture, SkipInNameClashEndsSilently) {
    const std::string bytes = Sealed(ContainerPlain(Password, "a.txt", "contents"));
    WriteFileBytes(container_, bytes);
    std::vector<std::string> proposed;
    const auto result = ReadContainer(cipher_, view_, container_, outputs_.Folder(), "in.zot!",
                                      Password, [&](const std::string& path) {
                                          proposed.push_back(path);
                                          return std::optional<std::string>();
                                      });
    EXPECT_EQ(proposed, std::vector<std::string>{outputs_ / "a.txt"});
    EXPECT_FALSE(result.done);
    EXPECT_FALSE(result.dataLoopRan);
    EXPECT_TRUE(result.outputPath.empty());
    EXPECT_TRUE(view_.messages.shown.empty());
    EXPECT_TRUE(FolderNames(outputs_).empty());
    EXPECT_FALSE(cipher_.KeySet());
}

TEST_F(ContainerReaderFixture, NameClashRedirectsTheOutput) {
    const std::string bytes = Sealed(ContainerPlain(Password, "a.txt", "contents"));
    WriteFileBytes(container_, bytes);
    const std::string chosen = outputs_ / "renamed.txt";
    const auto result =
        ReadContainer(cipher_, view_, container_, outputs_.Folder(), "in.zot!", Password,
                      [&](const std::string&) { return std::optional<std::string>(chosen); });
    EXPECT_TRUE(result.done);
    EXPECT_EQ(result.outputPath, chosen);
    EXPECT_EQ(ReadFileBytes(chosen), "contents");
    EXPECT_EQ(FolderNames(outputs_), std::set<std::string>{"renamed.txt"});
}

TEST_F(ContainerReaderFixture, OutputFolderWithoutTrailingSlash) {
    WriteFileBytes(container_, Sealed(ContainerPlain(Password, "a.txt", "contents")));
    const auto result = ReadContainer(cipher_, view_, container_, outputs_.Path().string(),
                                      "in.zot!", Password, TakeProposed);
    EXPECT_TRUE(result.done);
    EXPECT_EQ(result.outputPath, outputs_ / "a.txt");
}

// Another program takes the output name while the container is decrypted: its file stays as
// it was, the caller is asked again with that name, and answering nothing skips the file
// without a message, leaving the container.
TEST_F(ContainerReaderFixture, NameTakenMeanwhileIsNeverReplacedAndAsksAgain) {
    const std::string bytes = Sealed(ContainerPlain(Password, "a.txt", PatternBytes(10000)));
    WriteFileBytes(container_, bytes);
    view_.onProgress = [&](std::size_t chunks) {
        if (chunks == 1) {
            WriteFileBytes(outputs_ / "a.txt", "someone else's");
        }
    };
    std::vector<std::string> asked;
    const auto choose = [&](const std::string& path) -> std::optional<std::string> {
        asked.push_back(path);
        if (asked.size() == 1) {
            return path;
        }
        return std::nullopt;
    };
    const auto result =
        ReadContainer(cipher_, view_, container_, outputs_.Folder(), "in.zot!", Password, choose);
    EXPECT_FALSE(result.done);
    EXPECT_TRUE(result.dataLoopRan);
    EXPECT_EQ(asked, (std::vector<std::string>{outputs_ / "a.txt", outputs_ / "a.txt"}));
    EXPECT_TRUE(view_.messages.shown.empty());
    EXPECT_EQ(ReadFileBytes(outputs_ / "a.txt"), "someone else's");
    EXPECT_EQ(FolderNames(outputs_), std::set<std::string>{"a.txt"});
    EXPECT_TRUE(ReadFileBytes(container_) == bytes);
}

// The output cannot be created under a name the file system cannot hold: refused before any
// data is written.
TEST_F(ContainerReaderFixture, StoredNameTooLongForTheFileSystem) {
    const std::string bytes = Sealed(ContainerPlain(Password, std::string(256, 'n'), "x"));
    const auto result = Read(bytes);
    ExpectRefused(result, "The disc may be full or write protected.", bytes);
    EXPECT_FALSE(result.dataLoopRan);
}

TEST_F(ContainerReaderFixture, MissingOutputFolderCannotBeCreated) {
    WriteFileBytes(container_, Sealed(ContainerPlain(Password, "a.txt", "contents")));
    const auto result = ReadContainer(cipher_, view_, container_, outputs_ / "gone/", "in.zot!",
                                      Password, TakeProposed);
    EXPECT_FALSE(result.done);
    EXPECT_FALSE(result.dataLoopRan);
    EXPECT_EQ(view_.messages.Texts(),
              std::vector<std::string>{DecryptPrefix +
                                       "in.zot!': The disc may be full or write protected."});
}

// 20000 bytes make five chunks; the bar moves after the second. A cancel is seen before the
// next chunk, and also when it comes while the finished output is flushed and named: no
// output is left and the container stays.
class ContainerReaderCancel : public ContainerReaderFixture {
protected:
    void ExpectCancelledAfter(std::size_t chunks) {
        const std::string bytes = Sealed(ContainerPlain(Password, "a.txt", PatternBytes(20000)));
        const auto result = Read(bytes);
        EXPECT_FALSE(result.done);
        EXPECT_TRUE(result.dataLoopRan);
        EXPECT_EQ(view_.progress.size(), chunks);
        EXPECT_TRUE(view_.messages.shown.empty());
        EXPECT_TRUE(FolderNames(outputs_).empty());
        EXPECT_TRUE(ReadFileBytes(container_) == bytes);
        EXPECT_FALSE(cipher_.KeySet());
    }
};

TEST_F(ContainerReaderCancel, InTheDataLoop) {
    view_.cancelAtProgress = 1;
    ExpectCancelledAfter(1);
}

TEST_F(ContainerReaderCancel, WhileTheOutputIsFlushed) {
    view_.onPump = [&](int) { view_.cancel = view_.cancel || view_.progress.size() == 4; };
    ExpectCancelledAfter(4);
}

// The bar moves after every chunk but the first: 8192 of 12288 bytes, then all of them.
TEST_F(ContainerReaderFixture, ProgressPerChunk) {
    const std::string bytes = Sealed(ContainerPlain(Password, "a.txt", PatternBytes(12272)));
    ASSERT_EQ(bytes.size(), 12288u);
    ASSERT_TRUE(Read(bytes).done);
    EXPECT_EQ(view_.progress, (std::vector<int>{67, 100}));
}

} // namespace
} // namespace quarn::test

#include "CaseNames.h"
#include "ContainerTestSupport.h"
#include "platform/PosixFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarn::test {
namespace {

const std::string Password = "password";

class ContainerWriterFixture : public testing::Test {
protected:
    ContainerResult Write(const std::string& name = "a.txt",
                          const std::string& password = Password) {
        return WriteContainer(cipher_, view_, source_, output_, name, password, chooseTaken_);
    }
    // The one warning was shown, no output was made and the source is as it was.
    void ExpectRefused(const ContainerResult& result, const std::string& cause) {
        EXPECT_FALSE(result.done);
        EXPECT_EQ(view_.messages.Texts(),
                  std::vector<std::string>{EncryptPrefix + "a.txt': " + cause});
        EXPECT_EQ(view_.messages.shown.at(0).kind, MessageKind::Warning);
        EXPECT_EQ(view_.messages.shown.at(0).buttons, MessageButtons::Ok);
        EXPECT_FALSE(PathExists(output_));
        EXPECT_FALSE(cipher_.KeySet());
    }

    TempDir sources_, outputs_;
    std::string source_ = sources_ / "a.txt";
    std::string output_ = outputs_ / "a.zot!";
    TRijndael cipher_;
    ContainerTestView view_;
    ChooseOutputPath chooseTaken_ = NoClashExpected;
};

TEST_F(ContainerWriterFixture, EmptySourceEndsSilently) {
    WriteFileBytes(source_, "");
    const auto result = Write();
    EXPECT_FALSE(result.done);
    EXPECT_FALSE(result.dataLoopRan);
    EXPECT_TRUE(view_.messages.shown.empty());
    EXPECT_TRUE(FolderNames(outputs_).empty());
    EXPECT_FALSE(cipher_.KeySet());
}

TEST_F(ContainerWriterFixture, MissingSourceIsInUse) {
    const auto result = Write();
    ExpectRefused(result, "The file may be in use by another program.");
    EXPECT_FALSE(result.dataLoopRan);
}

// Another Quarn process that wipes a file holds it with an exclusive lock.
TEST_F(ContainerWriterFixture, SourceLockedByAnotherProcessIsInUse) {
    WriteFileBytes(source_, "contents");
    UniqueFd other(::open(source_.c_str(), O_RDWR));
    ASSERT_TRUE(TryLockExclusive(other.Get()));
    ExpectRefused(Write(), "The file may be in use by another program.");
}

TEST_F(ContainerWriterFixture, WhileEncryptingTheSourceCannotBeLockedForWiping) {
    WriteFileBytes(source_, PatternBytes(10000));
    bool refused = false;
    view_.onProgress = [&](std::size_t) {
        UniqueFd other(::open(source_.c_str(), O_RDWR));
        refused = !TryLockExclusive(other.Get());
    };
    EXPECT_TRUE(Write().done);
    EXPECT_TRUE(refused);
}

// A FIFO would block a plain read for ever; folders and devices are no files to encrypt.
TEST_F(ContainerWriterFixture, NotARegularFileIsRefusedWithoutReading) {
    ASSERT_EQ(::mkfifo(source_.c_str(), 0600), 0);
    ExpectRefused(Write(), "It is not a regular file.");
    view_.messages.shown.clear();
    source_ = sources_.Path().string();
    ExpectRefused(Write(), "It is not a regular file.");
    view_.messages.shown.clear();
    source_ = "/dev/zero";
    ExpectRefused(Write(), "It is not a regular file.");
}

TEST_F(ContainerWriterFixture, SourceOfTwoGigabytesIsRefusedBeforeAnyOutput) {
    WriteFileBytes(source_, "");
    ASSERT_EQ(::truncate(source_.c_str(), std::int64_t{1} << 31), 0); // sparse
    const auto result = Write();
    ExpectRefused(result, "Files of 2 GB or more cannot be encrypted.");
    EXPECT_FALSE(result.dataLoopRan);
    EXPECT_TRUE(FolderNames(outputs_).empty());
}

struct UnstorableCase {
    const char* label;
    std::string name;
    std::string password;
    const char* cause;
};

void PrintTo(const UnstorableCase& param, std::ostream* out) {
    *out << param.label;
}

class ContainerUnstorable : public ContainerWriterFixture,
                            public testing::WithParamInterface<UnstorableCase> {};

// A header the reader could never take apart again is refused before the source is read.
TEST_P(ContainerUnstorable, RefusedBeforeAnyOutput) {
    WriteFileBytes(source_, "contents");
    const auto result = WriteContainer(cipher_, view_, source_, output_, GetParam().name,
                                       GetParam().password, NoClashExpected);
    EXPECT_FALSE(result.done);
    EXPECT_FALSE(result.dataLoopRan);
    EXPECT_EQ(view_.messages.Texts(),
              std::vector<std::string>{EncryptPrefix + GetParam().name + "': " + GetParam().cause});
    EXPECT_TRUE(FolderNames(outputs_).empty());
    EXPECT_FALSE(cipher_.KeySet());
}

const char* BadPassword =
    "The password holds a character that cannot be stored in an encrypted file.";
const char* BadName = "The file name cannot be stored in an encrypted file.";

INSTANTIATE_TEST_SUITE_P(
    ContainerWriter, ContainerUnstorable,
    testing::Values(UnstorableCase{"SeparatorInPassword", "a.txt", "pass\x0Eword", BadPassword},
                    UnstorableCase{"SeparatorEndsPassword", "a.txt", "password\x0E", BadPassword},
                    UnstorableCase{"SeparatorInName", "a\x0E.txt", Password, BadName},
                    UnstorableCase{"NameDotDot", "..", Password, BadName},
                    UnstorableCase{"NameWithFolder", "b/a.txt", Password, BadName},
                    UnstorableCase{"EmptyName", "", Password, BadName},
                    UnstorableCase{"HeaderOf4096", std::string(4096 - 10, 'n'), Password, BadName}),
    CaseName());

// The longest header that fits the first chunk is written and read back.
TEST_F(ContainerWriterFixture, HeaderOf4095BytesRoundTrips) {
    WriteFileBytes(source_, "contents");
    const std::string name(4095 - 10, 'n');
    ASSERT_TRUE(Write(name).done);
    EXPECT_EQ(ReadFileBytes(output_).size(), 4096u + 16u);
    const std::string back = outputs_ / "back";
    ASSERT_TRUE(ReadContainer(cipher_, view_, output_, outputs_.Folder(), "a.zot!", Password,
                              [&](const std::string& proposed) {
                                  EXPECT_EQ(proposed, outputs_ / name);
                                  return std::optional<std::string>(back);
                              })
                    .done);
    EXPECT_EQ(ReadFileBytes(back), "contents");
}

TEST_F(ContainerWriterFixture, KeyErrorEscapesWithCipherReset) {
    WriteFileBytes(source_, "contents");
    EXPECT_THROW(Write("a.txt", ""), EKeyError);
    EXPECT_THROW(Write("a.txt", std::string(256, 'k')), EKeyError);
    EXPECT_FALSE(cipher_.IVSet());
    EXPECT_TRUE(FolderNames(outputs_).empty());
}

TEST_F(ContainerWriterFixture, MissingOutputFolderCannotBeCreated) {
    WriteFileBytes(source_, "contents");
    output_ = outputs_ / "gone/a.zot!";
    const auto result = Write();
    ExpectRefused(result, "The disc may be full or write protected.");
    EXPECT_FALSE(result.dataLoopRan);
}

// A folder path of about length bytes below root, made of long names.
std::string DeepFolder(const TempDir& root, std::size_t length) {
    std::string folder = root.Folder();
    while (folder.size() < length) {
        const std::size_t part = std::clamp<std::size_t>(length - folder.size(), 2, 201);
        folder += std::string(part - 1, 'd') + "/";
        std::filesystem::create_directory(folder);
    }
    return folder;
}

// An output name or path the file system cannot hold fails as the creation of the output,
// before the source is read: never after the whole file was encrypted.
TEST_F(ContainerWriterFixture, OutputNameTooLongCannotBeCreated) {
    WriteFileBytes(source_, "contents");
    const TempDir deepRoot;
    const std::string deep = DeepFolder(deepRoot, 3900);
    for (const std::string& output :
         {outputs_ / (std::string(251, 'n') + ".zot!"), deep + std::string(250, 'n')}) {
        view_.messages.shown.clear();
        output_ = output;
        const auto result = Write();
        ExpectRefused(result, "The disc may be full or write protected.");
        EXPECT_FALSE(result.dataLoopRan);
        EXPECT_EQ(view_.pumps, 0);
        EXPECT_TRUE(std::filesystem::is_empty(FolderPart(output)));
    }
}

// Whatever stands at the output path when the container is to be named there (another
// program's finished output, a link, a folder) is left alone and the caller is asked for
// another name; no system text is shown, and nothing but the answer's file is left.
TEST_F(ContainerWriterFixture, TakenOutputNameIsNeverReplacedAndAsksForAnother) {
    WriteFileBytes(source_, "contents");
    const std::string target = sources_ / "target";
    WriteFileBytes(target, "target");
    const std::vector<std::function<void()>> takers = {
        [&] { WriteFileBytes(output_, "another program's output"); },
        [&] { std::filesystem::create_symlink(target, output_); },
        [&] { std::filesystem::create_directory(output_); },
    };
    for (const auto& take : takers) {
        std::filesystem::remove_all(outputs_.Path());
        std::filesystem::create_directory(outputs_.Path());
        take();
        std::vector<std::string> asked;
        chooseTaken_ = [&](const std::string& taken) -> std::optional<std::string> {
            asked.push_back(taken);
            return outputs_ / "b.zot!";
        };
        const std::set<std::string> before = FolderNames(outputs_);
        const auto result = Write();
        EXPECT_TRUE(result.done);
        EXPECT_EQ(result.outputPath, outputs_ / "b.zot!");
        EXPECT_EQ(asked, std::vector<std::string>{output_});
        EXPECT_TRUE(view_.messages.shown.empty());
        EXPECT_EQ(ContainerCipher(Password, ReadFileBytes(outputs_ / "b.zot!"), false),
                  ContainerPlain(Password, "a.txt", "contents"));
        std::set<std::string> expected = before;
        expected.insert("b.zot!");
        EXPECT_EQ(FolderNames(outputs_), expected);
    }
    EXPECT_EQ(ReadFileBytes(target), "target");
    EXPECT_EQ(ReadFileBytes(source_), "contents");
}

// Another program finishes the same output while this one is still writing it: the output
// that was complete first stays; this one is discarded when the caller answers nothing.
TEST_F(ContainerWriterFixture, ConcurrentWriterOfTheSameOutputKeepsTheFirstComplete) {
    WriteFileBytes(source_, PatternBytes(10000));
    const std::string otherSource = sources_ / "b.txt";
    WriteFileBytes(otherSource, "the other program's file");
    TRijndael otherCipher;
    ContainerTestView otherView;
    bool otherDone = false;
    view_.onProgress = [&](std::size_t chunks) {
        if (chunks == 1) {
            otherDone = WriteContainer(otherCipher, otherView, otherSource, output_, "b.txt",
                                       Password, NoClashExpected)
                            .done;
        }
    };
    int asked = 0;
    chooseTaken_ = [&](const std::string&) -> std::optional<std::string> {
        ++asked;
        return std::nullopt;
    };
    const auto result = Write();
    EXPECT_TRUE(otherDone);
    EXPECT_FALSE(result.done);
    EXPECT_TRUE(result.dataLoopRan);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(view_.messages.shown.empty());
    EXPECT_EQ(ContainerCipher(Password, ReadFileBytes(output_), false),
              ContainerPlain(Password, "b.txt", "the other program's file"));
    EXPECT_EQ(FolderNames(outputs_), std::set<std::string>{"a.zot!"});
}

struct CancelCase {
    const char* label;
    std::size_t cancelAtProgress; // 0: at the first pump after the last chunk
    std::size_t chunks;           // the chunks done
};

void PrintTo(const CancelCase& param, std::ostream* out) {
    *out << param.label;
}

class ContainerWriterCancel : public ContainerWriterFixture,
                              public testing::WithParamInterface<CancelCase> {};

// 10000 bytes make three chunks. A cancel is seen before the next chunk, after the last one,
// and also when it comes while the finished output is flushed and named: no output is left
// and the source stays as it was.
TEST_P(ContainerWriterCancel, LeavesNoOutputAndKeepsSource) {
    const std::string contents = PatternBytes(10000);
    WriteFileBytes(source_, contents);
    view_.cancelAtProgress = GetParam().cancelAtProgress;
    view_.onPump = [&](int) { view_.cancel = view_.cancel || view_.progress.size() == 3; };
    const auto result = Write();
    EXPECT_FALSE(result.done);
    EXPECT_TRUE(result.dataLoopRan);
    EXPECT_EQ(view_.progress.size(), GetParam().chunks);
    EXPECT_TRUE(view_.messages.shown.empty());
    EXPECT_TRUE(FolderNames(outputs_).empty());
    EXPECT_TRUE(ReadFileBytes(source_) == contents);
    EXPECT_FALSE(cipher_.KeySet());
}

INSTANTIATE_TEST_SUITE_P(ContainerWriter, ContainerWriterCancel,
                         testing::Values(CancelCase{"AfterFirstChunk", 1, 1},
                                         CancelCase{"AfterLastChunk", 3, 3},
                                         CancelCase{"WhileTheOutputIsFlushed", 0, 3}),
                         CaseName());

TEST_F(ContainerWriterFixture, CancelBeforeFirstChunkWritesNothing) {
    WriteFileBytes(source_, "contents");
    view_.cancel = true;
    EXPECT_FALSE(Write().done);
    EXPECT_TRUE(view_.progress.empty());
    EXPECT_TRUE(FolderNames(outputs_).empty());
}

// The header counts as processed, so the bar may reach its maximum early; it never passes it.
TEST_F(ContainerWriterFixture, ProgressPerChunkIncludesHeader) {
    WriteFileBytes(source_, PatternBytes(10000));
    ASSERT_TRUE(Write().done);
    // 4096 of 10000, 8192, then 10015 (clamped).
    EXPECT_EQ(view_.progress, (std::vector<int>{41, 82, 100}));
}

} // namespace
} // namespace quarn::test

#include "CommandsTestView.h"
#include "ContainerTestSupport.h"
#include "LoopDisc.h"
#include "SystemCallFilters.h"
#include "engine/FileCommands.h"
#include "platform/PosixFile.h"

#include <csignal>
#include <gtest/gtest.h>
#include <regex>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quarn::test {
namespace {

const std::string Password = "password";

TEST(ContainerDiscFull, EncryptOntoFullDiscKeepsSourceAndLeavesNothing) {
    SmallTmpfs disc("64k");
    if (!disc.Mounted()) {
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    }
    TempDir sources;
    const std::string contents = PatternBytes(200000);
    WriteFileBytes(sources / "big", contents);
    TRijndael cipher;
    ContainerTestView view;
    const auto result = WriteContainer(cipher, view, sources / "big", disc.Dir() / "big.zot!",
                                       "big", Password, NoClashExpected);
    EXPECT_FALSE(result.done);
    EXPECT_TRUE(result.dataLoopRan);
    EXPECT_EQ(view.messages.Texts(),
              std::vector<std::string>{EncryptPrefix + "big': The disc may be full."});
    EXPECT_TRUE(FolderNames(disc.Dir()).empty());
    EXPECT_TRUE(ReadFileBytes(sources / "big") == contents);
}

TEST(ContainerDiscFull, DecryptOntoFullDiscKeepsContainerAndLeavesNothing) {
    SmallTmpfs disc("64k");
    if (!disc.Mounted()) {
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    }
    TempDir sources;
    const std::string bytes =
        ContainerCipher(Password, ContainerPlain(Password, "big", PatternBytes(200000)));
    WriteFileBytes(sources / "big.zot!", bytes);
    TRijndael cipher;
    ContainerTestView view;
    const auto result = ReadContainer(cipher, view, sources / "big.zot!", disc.Dir().Folder(),
                                      "big.zot!", Password, TakeProposed);
    EXPECT_FALSE(result.done);
    EXPECT_EQ(view.messages.Texts(),
              std::vector<std::string>{DecryptPrefix + "big.zot!': The disc may be full."});
    EXPECT_TRUE(FolderNames(disc.Dir()).empty());
    EXPECT_TRUE(ReadFileBytes(sources / "big.zot!") == bytes);
}

// The writes land in the page cache; only the flush finds that the device below has no room.
// Without the flush the file would count as done, and its source be wiped, with its data
// still unwritten.
TEST(ContainerDiscFull, FlushFailureFailsTheFileAndLeavesNothing) {
    SmallTmpfs backing("8m");
    if (!backing.Mounted()) {
        GTEST_SKIP() << "tmpfs cannot be mounted here";
    }
    LoopDisc disc(backing.Dir().Folder(), 64 << 20); // sparse: far larger than its backing
    if (!disc.Mounted()) {
        GTEST_SKIP() << "cannot mount an ext4 loop device here";
    }
    TempDir sources;
    const std::string contents = PatternBytes(4 << 20);
    WriteFileBytes(sources / "big", contents);
    const std::string bytes = ContainerCipher(Password, ContainerPlain(Password, "big", contents));
    WriteFileBytes(sources / "big.zot!", bytes);
    backing.FillUp("fill");
    for (const bool encrypt : {true, false}) {
        TRijndael cipher;
        ContainerTestView view;
        const auto result =
            encrypt ? WriteContainer(cipher, view, sources / "big", disc.Dir() / "big.zot!", "big",
                                     Password, NoClashExpected)
                    : ReadContainer(cipher, view, sources / "big.zot!", disc.Dir().Folder(),
                                    "big.zot!", Password, TakeProposed);
        EXPECT_FALSE(result.done);
        EXPECT_EQ(view.messages.Texts(),
                  std::vector<std::string>{
                      (encrypt ? EncryptPrefix + "big" : DecryptPrefix + "big.zot!") +
                      "': The disc may be full."});
        EXPECT_EQ(FolderNames(disc.Dir()), std::set<std::string>{"lost+found"});
    }
    EXPECT_TRUE(ReadFileBytes(sources / "big") == contents);
    EXPECT_TRUE(ReadFileBytes(sources / "big.zot!") == bytes);
}

// Runs body in a child process and returns its exit status; the child's gtest checks do not
// reach the parent, so body reports through the status.
template <typename Body> int InChild(Body body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

// A file-size limit makes every write past it fail with EFBIG: the other-error road, which
// names the system's reason. Works wherever the test runs.
TEST(ContainerDiscFull, WriteErrorNamesReasonAndLeavesNoPartialOutput) {
    TempDir sources, outputs;
    const std::string contents = PatternBytes(50000);
    WriteFileBytes(sources / "a.txt", contents);
    WriteFileBytes(sources / "a.zot!",
                   ContainerCipher(Password, ContainerPlain(Password, "a.txt", contents)));
    const auto run = [&](bool encrypt) {
        return InChild([&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{10000, 10000};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            TRijndael cipher;
            ContainerTestView view;
            const auto result =
                encrypt ? WriteContainer(cipher, view, sources / "a.txt", outputs / "a.zot!",
                                         "a.txt", Password, NoClashExpected)
                        : ReadContainer(cipher, view, sources / "a.zot!", outputs.Folder(),
                                        "a.zot!", Password, TakeProposed);
            const std::string expected =
                (encrypt ? EncryptPrefix + "a.txt" : DecryptPrefix + "a.zot!") +
                "': File too large.";
            return !result.done && result.dataLoopRan &&
                           view.messages.Texts() == std::vector<std::string>{expected}
                       ? 0
                       : 1;
        });
    };
    for (const bool encrypt : {true, false}) {
        const int status = run(encrypt);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << (encrypt ? "encrypt" : "decrypt");
        EXPECT_TRUE(FolderNames(outputs).empty());
    }
    EXPECT_TRUE(ReadFileBytes(sources / "a.txt") == contents);
}

const std::string KillContents = PatternBytes(16 << 20);

// The folder holds the file to encrypt ("big.bin") or decrypt ("big.bin.zot!"); answers its
// name.
std::string PutKillSource(const TempDir& dir, bool encrypt) {
    const std::string source = encrypt ? "big.bin" : "big.bin.zot!";
    WriteFileBytes(
        dir / source,
        encrypt ? KillContents
                : ContainerCipher(Password, ContainerPlain(Password, "big.bin", KillContents)));
    return source;
}

void RunLoop(CommandsTestView& view, bool encrypt, const TempDir& dir, const std::string& source) {
    TRijndael cipher;
    EngineOptions options;
    options.EncryptName = false;
    if (encrypt) {
        EncryptFiles(view, cipher, options, {dir / source}, dir.Folder(), Password);
    } else {
        DecryptFiles(view, cipher, options, {dir / source}, dir.Folder(), Password);
    }
}

// Runs the loop over the source in a child, on a file system without unnamed files when
// refuseUnnamed is set, and kills it with SIGKILL in the middle of the file.
void KillMidFile(const TempDir& dir, bool encrypt, const std::string& source, bool refuseUnnamed) {
    int midway[2];
    ASSERT_EQ(::pipe(midway), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (refuseUnnamed && !RefuseUnnamedFiles()) {
            ::_exit(100);
        }
        CommandsTestView view;
        view.onFileProgress = [&](int) {
            const std::size_t chunks = view.fileProgress.size();
            if (chunks == 1000) {
                (void)::write(midway[1], "k", 1);
            }
            if (chunks >= 1000) {
                ::usleep(1000); // the kill comes long before the end
            }
        };
        RunLoop(view, encrypt, dir, source);
        ::_exit(0);
    }
    ::close(midway[1]);
    char byte = 0;
    const bool midwayReached = ::read(midway[0], &byte, 1) == 1;
    ::close(midway[0]);
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (!midwayReached && WIFEXITED(status) && WEXITSTATUS(status) == 100) {
        GTEST_SKIP() << "no seccomp filter can be installed here";
    }
    ASSERT_TRUE(WIFSIGNALED(status));
}

// A run killed with SIGKILL in the middle of a large file leaves nothing of its output under
// any name: the folder holds the source alone. The partial output (plain text, after a
// decryption) never had a name.
TEST(ContainerKill, KilledMidFileLeavesOnlyTheSource) {
    for (const bool encrypt : {true, false}) {
        TempDir dir;
        const std::string source = PutKillSource(dir, encrypt);
        KillMidFile(dir, encrypt, source, false);
        EXPECT_EQ(FolderNames(dir), std::set<std::string>{source})
            << (encrypt ? "encrypt" : "decrypt");
    }
}

// Where the file system has no unnamed files, the killed run's partial output stays under its
// staging name, the writer's own, until the next run in that folder, which overwrites and
// removes it before its own work.
TEST(ContainerKill, WithoutUnnamedFilesTheNextRunRemovesWhatTheKilledOneLeft) {
    for (const bool encrypt : {true, false}) {
        TempDir dir;
        const std::string source = PutKillSource(dir, encrypt);
        KillMidFile(dir, encrypt, source, true);
        if (testing::Test::IsSkipped()) {
            return;
        }
        std::set<std::string> left = FolderNames(dir);
        ASSERT_EQ(left.size(), 2u);
        left.erase(source);
        const std::string staged = dir / *left.begin();
        EXPECT_TRUE(std::regex_match(*left.begin(), std::regex("quarn-[A-Za-z0-9]{6}\\.part")));
        struct stat info {};
        ASSERT_EQ(::stat(staged.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u);
        EXPECT_GT(info.st_size, 0);

        CommandsTestView view;
        RunLoop(view, encrypt, dir, source);
        EXPECT_TRUE(view.messages.shown.empty());
        const std::string done = encrypt ? "big.zot!" : "big.bin";
        EXPECT_EQ(FolderNames(dir), std::set<std::string>{done})
            << (encrypt ? "encrypt" : "decrypt");
        if (!encrypt) {
            EXPECT_TRUE(ReadFileBytes(dir / done) == KillContents);
        }
    }
}

} // namespace
} // namespace quarn::test

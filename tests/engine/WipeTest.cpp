#include "engine/Wipe.h"

#include "CommandsTestView.h"
#include "LoopDisc.h"
#include "SystemCallFilters.h"
#include "engine/ProgressMath.h"
#include "engine/Writeback.h"
#include "platform/Guid.h"
#include "platform/PosixFile.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <sys/wait.h>

namespace quarn::test {
namespace {

std::string Filled(std::size_t size, std::uint8_t byte) {
    return std::string(size, static_cast<char>(byte));
}

EngineOptions WipeOptions(bool fast, int hexValue, int wipeCount) {
    EngineOptions options;
    options.FastWipe = fast;
    options.HexValue = hexValue;
    options.WipeCount = wipeCount;
    return options;
}

WipeOutcome Wipe(CommandsTestView& view, const std::string& path, const std::string& folder,
                 const EngineOptions& options = {}, WipeWording wording = WipeWording::ListedFile) {
    return WipeOneFile(view, path, folder, MakeWipePlan(options), wording);
}

struct PlanCase {
    bool fast;
    int hexValue;
    int wipeCount;
    std::vector<std::uint8_t> passBytes;
    int rounds;
};

void PrintTo(const PlanCase& param, std::ostream* out) {
    *out << (param.fast ? "fast" : "three passes") << " HexValue=" << param.hexValue
         << " WipeCount=" << param.wipeCount;
}

class WipePlanCases : public testing::TestWithParam<PlanCase> {};

TEST_P(WipePlanCases, PassBytesAndRounds) {
    const PlanCase& c = GetParam();
    const WipePlan plan = MakeWipePlan(WipeOptions(c.fast, c.hexValue, c.wipeCount));
    EXPECT_EQ(plan.passBytes, c.passBytes);
    EXPECT_EQ(plan.rounds, c.rounds);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, WipePlanCases,
    testing::Values(PlanCase{true, 0, 1, {0x00}, 1}, PlanCase{true, 0x1AB, 3, {0xAB}, 3},
                    PlanCase{false, 7, 2, {0x00, 0xFF, 0x07}, 2},
                    PlanCase{false, -1, 100, {0x00, 0xFF, 0xFF}, 100},
                    // Hand-edited counts: at least one round, at most the dialog's 100.
                    PlanCase{true, 5, 0, {0x05}, 1}, PlanCase{true, 5, -7, {0x05}, 1},
                    PlanCase{true, 5, 100000, {0x05}, 100}));

struct PercentCase {
    std::uint64_t done;
    std::uint64_t total;
    int percent;
};

void PrintTo(const PercentCase& param, std::ostream* out) {
    *out << param.done << " of " << param.total;
}

class RoundedPercentCases : public testing::TestWithParam<PercentCase> {};

TEST_P(RoundedPercentCases, HalvesToEvenClampedAndWide) {
    EXPECT_EQ(RoundedPercent(GetParam().done, GetParam().total), GetParam().percent);
}

constexpr std::uint64_t Huge = std::uint64_t{10} * 1024 * 1024 * 1024 * 300; // 3 TB of writes

INSTANTIATE_TEST_SUITE_P(Values, RoundedPercentCases,
                         testing::Values(PercentCase{1, 8, 12}, PercentCase{3, 8, 38},
                                         PercentCase{1, 200, 0}, PercentCase{3, 200, 2},
                                         PercentCase{1, 2, 50}, PercentCase{0, 0, 0},
                                         PercentCase{5, 4, 100}, PercentCase{Huge / 2, Huge, 50},
                                         PercentCase{Huge - 1, Huge, 100},
                                         PercentCase{UINT64_MAX / 3, UINT64_MAX, 33}));

TEST(WipeGuid, BracedUpperCaseVersionFourAndFresh) {
    const std::regex form(
        "\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}");
    std::set<std::string> seen;
    for (int i = 0; i < 64; ++i) {
        const std::string text = NewGuidText();
        EXPECT_TRUE(std::regex_match(text, form)) << text;
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 64u);
}

// Every pass of a three-pass plan lands over the whole file, in order: read through a hard
// link after every block.
TEST(WipeOneFile, EveryPatternOfThePlanOverTheWholeFileThenGone) {
    TempDir dir;
    const std::size_t size = 3 * WipeBlockSize + 1;
    WriteFileBytes(dir / "secret.txt", PatternBytes(size));
    ASSERT_EQ(::link((dir / "secret.txt").c_str(), (dir / "link").c_str()), 0);

    CommandsTestView view;
    std::vector<std::uint8_t> wholeFilePatterns;
    view.onFileProgress = [&](int) {
        const std::string now = ReadFileBytes(dir / "link");
        ASSERT_EQ(now.size(), size);
        const auto first = static_cast<std::uint8_t>(now[0]);
        if (now == Filled(size, first) &&
            (wholeFilePatterns.empty() || wholeFilePatterns.back() != first)) {
            wholeFilePatterns.push_back(first);
        }
    };
    EXPECT_EQ(Wipe(view, dir / "secret.txt", dir.Folder(), WipeOptions(false, 0x15A, 2)),
              WipeOutcome::Wiped);

    EXPECT_EQ(wholeFilePatterns, (std::vector<std::uint8_t>{0x00, 0xFF, 0x5A, 0x00, 0xFF, 0x5A}));
    EXPECT_EQ(ReadFileBytes(dir / "link"), Filled(size, 0x5A));
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{"link"}); // renamed and deleted
    EXPECT_EQ(view.fileProgress.size(), 1u + 6 * 4);            // three blocks and 1 per pass
    EXPECT_EQ(view.fileProgress.front(), 0);
    EXPECT_EQ(view.fileProgress.back(), 100);
    EXPECT_TRUE(std::is_sorted(view.fileProgress.begin(), view.fileProgress.end()));
    EXPECT_TRUE(view.messages.shown.empty());
}

struct StepCase {
    std::size_t size;
    std::size_t steps; // bar updates after the first 0
    WipeOutcome outcome;
};

void PrintTo(const StepCase& param, std::ostream* out) {
    *out << param.size << " bytes";
}

class WipeStepCases : public testing::TestWithParam<StepCase> {};

// One pass of a hand-edited WipeCount 0 and HexValue 0x1A5: one round of 0xA5.
TEST_P(WipeStepCases, BlockStepsOneRoundAtLeast) {
    TempDir dir;
    const StepCase& c = GetParam();
    WriteFileBytes(dir / "f", PatternBytes(c.size));
    ASSERT_EQ(::link((dir / "f").c_str(), (dir / "link").c_str()), 0);
    CommandsTestView view;
    EXPECT_EQ(Wipe(view, dir / "f", dir.Folder(), WipeOptions(true, 0x1A5, 0)), c.outcome);
    EXPECT_EQ(view.fileProgress.size(), 1 + c.steps);
    EXPECT_EQ(ReadFileBytes(dir / "link"), Filled(c.size, 0xA5));
    EXPECT_FALSE(PathExists(dir / "f"));
    EXPECT_TRUE(view.messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Sizes, WipeStepCases,
                         testing::Values(StepCase{0, 0, WipeOutcome::Empty},
                                         StepCase{1, 1, WipeOutcome::Wiped},
                                         StepCase{4097, 1, WipeOutcome::Wiped},
                                         StepCase{WipeBlockSize, 1, WipeOutcome::Wiped},
                                         StepCase{WipeBlockSize + 1, 2, WipeOutcome::Wiped}));

TEST(WipeOneFile, CancelInTheFirstPassKeepsTheNameAndWhatWasWritten) {
    TempDir dir;
    const std::string original = PatternBytes(3 * WipeBlockSize);
    WriteFileBytes(dir / "f", original);
    CommandsTestView view;
    view.onFileProgress = [&](int percent) { view.cancel = percent > 0; };
    EXPECT_EQ(Wipe(view, dir / "f", dir.Folder(), WipeOptions(true, 0x33, 1)),
              WipeOutcome::Cancelled);
    EXPECT_EQ(ReadFileBytes(dir / "f"),
              Filled(WipeBlockSize, 0x33) + original.substr(WipeBlockSize));
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{"f"});
    EXPECT_TRUE(view.messages.shown.empty());
}

// A cancel that comes while the last pass is flushed still counts: the file is not removed.
TEST(WipeOneFile, CancelWhileTheLastPassIsFlushedKeepsTheName) {
    TempDir dir;
    WriteFileBytes(dir / "f", PatternBytes(2 * WipeBlockSize));
    CommandsTestView view;
    view.onPump = [&] { view.cancel = view.cancel || view.fileProgress.back() == 100; };
    EXPECT_EQ(Wipe(view, dir / "f", dir.Folder(), WipeOptions(true, 0x44, 1)),
              WipeOutcome::Cancelled);
    EXPECT_EQ(ReadFileBytes(dir / "f"), Filled(2 * WipeBlockSize, 0x44));
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{"f"});
    EXPECT_TRUE(view.messages.shown.empty());
}

// Sizes are 64-bit: a sparse file of 4 GiB + 8 KiB (8 KiB when cut to 32 bits) is taken at its
// full size. The wipe is cancelled at 1 %, some 43 MB in.
TEST(WipeOneFile, FileBeyondFourGigabytesKeepsItsFullSize) {
    TempDir dir;
    const off_t size = (off_t{1} << 32) + 8192;
    {
        UniqueFd fd(::open((dir / "big").c_str(), O_WRONLY | O_CREAT, 0600));
        ASSERT_TRUE(fd);
        ASSERT_EQ(::ftruncate(fd.Get(), size), 0);
    }
    CommandsTestView view;
    view.onFileProgress = [&](int percent) { view.cancel = percent >= 1; };
    EXPECT_EQ(Wipe(view, dir / "big", dir.Folder(), WipeOptions(true, 0x77, 1)),
              WipeOutcome::Cancelled);
    ASSERT_GE(view.fileProgress.size(), 3u);
    EXPECT_EQ(view.fileProgress[1], 0); // one block of 4 GiB
    EXPECT_EQ(view.fileProgress.back(), 1);
    struct stat info {};
    ASSERT_EQ(::stat((dir / "big").c_str(), &info), 0);
    EXPECT_EQ(info.st_size, size);
    UniqueFd fd(::open((dir / "big").c_str(), O_RDONLY));
    std::string head(WipeBlockSize, '\0');
    ASSERT_EQ(ReadFull(fd.Get(), head.data(), head.size()), std::ssize(head));
    EXPECT_EQ(head, Filled(WipeBlockSize, 0x77));
}

TEST(WipeOneFile, NothingOrAFolderIsPassedOverSilently) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / "folder").c_str(), 0700), 0);
    for (const std::string& path : {dir / "missing", dir / "folder", std::string()}) {
        CommandsTestView view;
        EXPECT_EQ(Wipe(view, path, dir.Folder()), WipeOutcome::Missing) << path;
        EXPECT_TRUE(view.messages.shown.empty()) << path;
        EXPECT_EQ(view.fileProgress, std::vector<int>{0}) << path;
    }
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{"folder"});
}

// Opening a FIFO for writing would block until a reader comes; a device would be written.
TEST(WipeOneFile, FifoSocketOrDeviceIsRefusedAndNeverOpened) {
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = dir / "socket";
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    for (const std::string& path : {dir / "fifo", socketPath, std::string("/dev/null")}) {
        CommandsTestView view;
        EXPECT_EQ(Wipe(view, path, dir.Folder()), WipeOutcome::Failed) << path;
        EXPECT_EQ(view.messages.Texts(),
                  std::vector<std::string>{"Unable to wipe file '" + NamePart(path) +
                                           "': It is not a regular file."});
        EXPECT_EQ(view.messages.shown[0].kind, MessageKind::Warning);
    }
    ::close(listener);
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"fifo", "socket"}));
}

TEST(WipeOneFile, LinkIsRefusedAndNeitherItNorItsTargetChanges) {
    TempDir dir;
    const std::string contents = PatternBytes(5000);
    WriteFileBytes(dir / "target", contents);
    ASSERT_EQ(::symlink((dir / "target").c_str(), (dir / "link").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);
    CommandsTestView view;
    EXPECT_EQ(Wipe(view, dir / "link", dir.Folder()), WipeOutcome::Failed);
    EXPECT_EQ(Wipe(view, dir / "dangling", dir.Folder()), WipeOutcome::Failed);
    EXPECT_EQ(ReadFileBytes(dir / "target"), contents);
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"dangling", "link", "target"}));
    EXPECT_EQ(view.messages.Texts(),
              (std::vector<std::string>{"Unable to wipe file 'link': It is not a regular file.",
                                        "Unable to wipe file 'dangling': It is not a regular "
                                        "file."}));
}

// Another program saves a new version of the file, or appends to it, while it is wiped: the
// rename and deletion would take the new version, or the appended bytes, unwiped. Kept, said.
TEST(WipeOneFile, FileSavedOrAppendedToMeanwhileKeepsItsName) {
    for (const bool byRename : {true, false}) {
        TempDir dir;
        WriteFileBytes(dir / "f", PatternBytes(3 * WipeBlockSize));
        CommandsTestView view;
        bool changed = false;
        view.onFileProgress = [&](int percent) {
            if (changed || percent == 0) {
                return;
            }
            changed = true;
            if (byRename) {
                WriteFileBytes(dir / "saving", "new version");
                ASSERT_EQ(::rename((dir / "saving").c_str(), (dir / "f").c_str()), 0);
            } else {
                const UniqueFd fd(::open((dir / "f").c_str(), O_WRONLY | O_APPEND));
                ASSERT_EQ(::write(fd.Get(), "appended", 8), 8);
            }
        };
        EXPECT_EQ(Wipe(view, dir / "f", dir.Folder(), WipeOptions(true, 0x33, 1)),
                  WipeOutcome::Failed);
        EXPECT_EQ(view.messages.Texts(),
                  std::vector<std::string>{"Unable to wipe file 'f': It changed while it was being "
                                           "wiped and was not deleted."});
        EXPECT_EQ(FolderNames(dir), std::set<std::string>{"f"});
        EXPECT_EQ(ReadFileBytes(dir / "f"),
                  byRename ? "new version" : Filled(3 * WipeBlockSize, 0x33) + "appended");
    }
}

// Another Quarn process reading the file holds a shared lock on it.
TEST(WipeOneFile, FileHeldByAnotherQuarnProcessMayBeInUse) {
    TempDir dir;
    const std::string contents = PatternBytes(10000);
    WriteFileBytes(dir / "held.txt", contents);
    int ready[2];
    int release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        ::close(release[1]);
        const int fd = ::open((dir / "held.txt").c_str(), O_RDONLY);
        const char flag = fd >= 0 && TryLockShared(fd) ? 'y' : 'n';
        (void)!::write(ready[1], &flag, 1);
        char ignored;
        (void)!::read(release[0], &ignored, 1); // until the parent closes its end
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    char flag = 0;
    ASSERT_EQ(::read(ready[0], &flag, 1), 1);
    ASSERT_EQ(flag, 'y');

    CommandsTestView view;
    EXPECT_EQ(Wipe(view, dir / "held.txt", dir.Folder()), WipeOutcome::Failed);
    ::close(release[1]);
    ::close(ready[0]);
    int status = 0;
    ::waitpid(child, &status, 0);

    EXPECT_EQ(view.messages.Texts(), std::vector<std::string>{"Unable to wipe file 'held.txt': "
                                                              "The file may be in use by another "
                                                              "program."});
    EXPECT_EQ(view.messages.shown[0].kind, MessageKind::Warning);
    EXPECT_EQ(ReadFileBytes(dir / "held.txt"), contents);
}

struct RenameCase {
    WipeWording wording;
    MessageAnswer answer;
    const char* question;
};

void PrintTo(const RenameCase& param, std::ostream* out) {
    *out << (param.wording == WipeWording::OriginalFile ? "original file" : "listed file")
         << (param.answer == MessageAnswer::Yes ? ", Yes" : ", No");
}

class WipeRenameRefused : public testing::TestWithParam<RenameCase> {};

// The GUID name lies in a folder that is not there, so the rename fails: question B.
TEST_P(WipeRenameRefused, AsksBeforeDeletingUnderItsOwnName) {
    TempDir dir;
    WriteFileBytes(dir / "f.txt", PatternBytes(100));
    CommandsTestView view;
    view.messages.QueueAnswer(GetParam().answer);
    EXPECT_EQ(
        Wipe(view, dir / "f.txt", dir / "gone/", WipeOptions(true, 0x11, 1), GetParam().wording),
        WipeOutcome::Wiped);
    ASSERT_EQ(view.messages.shown.size(), 1u);
    EXPECT_EQ(view.messages.shown[0].text, GetParam().question);
    EXPECT_EQ(view.messages.shown[0].kind, MessageKind::Warning);
    EXPECT_EQ(view.messages.shown[0].buttons, MessageButtons::YesNo);
    if (GetParam().answer == MessageAnswer::Yes) {
        EXPECT_FALSE(PathExists(dir / "f.txt"));
    } else {
        EXPECT_EQ(ReadFileBytes(dir / "f.txt"), Filled(100, 0x11));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Wordings, WipeRenameRefused,
    testing::Values(
        RenameCase{WipeWording::ListedFile, MessageAnswer::No,
                   "Quarn! has successfully wiped file 'f.txt'. However, the file could not be "
                   "renamed prior to deletion.\r\n\r\nWould you like to delete the file anyway?"},
        RenameCase{WipeWording::OriginalFile, MessageAnswer::Yes,
                   "Quarn! has successfully wiped the original file 'f.txt'. However, the file "
                   "could not be renamed prior to deletion.\r\n\r\nWould you like to delete the "
                   "original file anyway?"}));

TEST(WipeOneFile, DeleteRefusedAfterQuestionBShowsMessageC) {
    TempDir dir;
    WriteFileBytes(dir / "f.txt", PatternBytes(100));
    AppendOnlyFolder appendOnly(dir.Path().string());
    if (!appendOnly.Supported()) {
        GTEST_SKIP() << "append-only folders not supported here";
    }
    CommandsTestView view;
    view.messages.QueueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(Wipe(view, dir / "f.txt", dir.Folder(), WipeOptions(true, 0x22, 1)),
              WipeOutcome::Wiped);
    ASSERT_EQ(view.messages.shown.size(), 2u);
    EXPECT_EQ(view.messages.shown[1].text,
              "Quarn! was unable to delete the wiped file. 'f.txt'.\r\n\r\nPlease manually "
              "delete file '" +
                  dir / "f.txt" + "'.");
    EXPECT_EQ(view.messages.shown[1].kind, MessageKind::Warning);
    EXPECT_EQ(ReadFileBytes(dir / "f.txt"), Filled(100, 0x22));
}

TEST(WipeOneFile, RenamedButNotDeletedShowsMessageAWithTheGuidName) {
    TempDir dir;
    TempDir guidFolder;
    WriteFileBytes(dir / "f.txt", PatternBytes(100));
    AppendOnlyFolder appendOnly(guidFolder.Path().string());
    if (!appendOnly.Supported()) {
        GTEST_SKIP() << "append-only folders not supported here";
    }
    CommandsTestView view;
    EXPECT_EQ(Wipe(view, dir / "f.txt", guidFolder.Folder(), WipeOptions(true, 0x44, 1),
                   WipeWording::OriginalFile),
              WipeOutcome::Wiped);
    ASSERT_EQ(view.messages.shown.size(), 1u);
    const auto names = FolderNames(guidFolder);
    ASSERT_EQ(names.size(), 1u);
    const std::string newName = guidFolder / *names.begin();
    EXPECT_TRUE(std::regex_match(*names.begin(), std::regex("\\{[0-9A-F-]{36}\\}")));
    EXPECT_EQ(view.messages.shown[0].text,
              "Quarn! has successfully wiped and renamed the original file 'f.txt'. However, the "
              "file could not be deleted.\r\n\r\nPlease manually delete file '" +
                  newName + "'.");
    EXPECT_EQ(ReadFileBytes(newName), Filled(100, 0x44));
    EXPECT_FALSE(PathExists(dir / "f.txt"));
}

TEST(WipeOneFile, FullDiscKeepsTheNameWithTheMessage) {
    SmallTmpfs disc("64k");
    if (!disc.Mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    // A sparse file needs new blocks for every page the wipe writes.
    const std::string path = disc.Dir() / "sparse";
    {
        UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT, 0600));
        ASSERT_TRUE(fd);
        ASSERT_EQ(::ftruncate(fd.Get(), 1 << 20), 0);
    }
    CommandsTestView view;
    EXPECT_EQ(Wipe(view, path, disc.Dir().Folder()), WipeOutcome::Failed);
    EXPECT_EQ(view.messages.Texts(),
              std::vector<std::string>{"Unable to wipe file 'sparse': The disc may be full."});
    EXPECT_EQ(FolderNames(disc.Dir()), std::set<std::string>{"sparse"});
}

// "<size> x <byte>" for bytes that are all one value, else "<size> mixed": short failures.
std::string Uniformity(const std::string& bytes) {
    if (bytes.empty() || bytes != Filled(bytes.size(), static_cast<std::uint8_t>(bytes[0]))) {
        return std::to_string(bytes.size()) + " mixed";
    }
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", static_cast<std::uint8_t>(bytes[0]));
    return std::to_string(bytes.size()) + " x " + hex;
}

// A wipe killed between its rename and its deletion leaves the file under its GUID name in the
// folder, at its full size, holding nothing but the last pass's byte.
TEST(WipeOneFile, KilledBeforeTheDeletionLeavesOnlyTheLastPassUnderTheGuidName) {
    TempDir dir;
    const std::size_t size = 3 * WipeBlockSize + 5;
    WriteFileBytes(dir / "secret", PatternBytes(size));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!KillAtNameRemoval()) {
            ::_exit(100);
        }
        CommandsTestView view;
        Wipe(view, dir / "secret", dir.Folder(), WipeOptions(false, 0x5A, 1));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 100) {
        GTEST_SKIP() << "no seccomp filter can be installed here";
    }
    ASSERT_TRUE(WIFSIGNALED(status));
    const auto names = FolderNames(dir);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_TRUE(std::regex_match(*names.begin(), std::regex("\\{[0-9A-F-]{36}\\}")));
    EXPECT_EQ(Uniformity(ReadFileBytes(dir / *names.begin())), std::to_string(size) + " x 5a");
}

// Read past every cache: each pass is on the device before the next begins, and the last one
// is there after the file was deleted (an unlinked file's dirty pages would be dropped).
TEST(WipeOneFile, EveryPassReachesTheDeviceBeforeTheNextAndBeforeTheDelete) {
    TempDir images;
    LoopDisc disc(images.Folder(), 32 << 20);
    if (!disc.Mounted()) {
        GTEST_SKIP() << "cannot mount an ext4 loop device here";
    }
    constexpr std::size_t Blocks = 8;
    const std::size_t size = Blocks * WipeBlockSize;
    const std::string path = disc.Dir() / "secret";
    WriteFileBytes(path, PatternBytes(size));
    const auto extents = LoopDisc::ExtentsOf(path);
    ASSERT_FALSE(extents.empty());
    ASSERT_TRUE(disc.ReadDevice(extents, size) == PatternBytes(size));

    CommandsTestView view;
    std::vector<std::string> devicePerPass;
    int calls = 0;
    view.onFileProgress = [&](int) {
        // The first block of a later pass: the rest of the file is as the last pass left it.
        const int block = calls++ - 1; // the first call sets 0 before any block
        if (block > 0 && block % Blocks == 0) {
            devicePerPass.push_back(
                Uniformity(disc.ReadDevice(extents, size).substr(WipeBlockSize)));
        }
    };
    EXPECT_EQ(Wipe(view, path, disc.Dir().Folder(), WipeOptions(false, 0x5A, 1)),
              WipeOutcome::Wiped);
    const std::string rest = std::to_string(size - WipeBlockSize);
    EXPECT_EQ(devicePerPass, (std::vector<std::string>{rest + " x 00", rest + " x ff"}));
    EXPECT_EQ(FolderNames(disc.Dir()), std::set<std::string>{"lost+found"});
    EXPECT_EQ(Uniformity(disc.ReadDevice(extents, size)), std::to_string(size) + " x 5a");
    EXPECT_TRUE(view.messages.shown.empty());
}

struct FlushCase {
    const char* label;
    off_t size;
    // The backing gets room again once the bar reaches it; 0: never. The wipe runs no further
    // ahead of the device than Writeback::Ahead, so a file of three times that has met the
    // full device well before half of it is written.
    int roomAtPercent;
};

void PrintTo(const FlushCase& param, std::ostream* out) {
    *out << param.label;
}

class WipeFlushFails : public testing::TestWithParam<FlushCase> {};

// The writes land in the page cache; only the write-out finds that the device below has no
// room. An error seen while the pass runs is not seen again by the flush at its end, so the
// wipe must fail on it even when the rest of the pass reaches the device.
TEST_P(WipeFlushFails, FailsTheWipeAndKeepsTheName) {
    SmallTmpfs backing("40m"); // with room for the file once the fill is gone
    if (!backing.Mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    LoopDisc disc(backing.Dir().Folder(), 64 << 20); // sparse: far larger than its backing
    if (!disc.Mounted()) {
        GTEST_SKIP() << "cannot mount an ext4 loop device here";
    }
    const std::string path = disc.Dir() / "f";
    {
        // Allocated on the file system, never written, so still a hole in the image.
        UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT, 0600));
        ASSERT_TRUE(fd);
        ASSERT_EQ(::fallocate(fd.Get(), 0, 0, GetParam().size), 0);
        ASSERT_EQ(::fsync(fd.Get()), 0);
    }
    const std::string fill = backing.FillUp("fill");
    CommandsTestView view;
    view.onFileProgress = [&](int percent) {
        if (GetParam().roomAtPercent > 0 && percent >= GetParam().roomAtPercent) {
            ::unlink(fill.c_str());
        }
    };
    EXPECT_EQ(Wipe(view, path, disc.Dir().Folder()), WipeOutcome::Failed);
    EXPECT_EQ(view.messages.Texts(),
              std::vector<std::string>{"Unable to wipe file 'f': The disc may be full."});
    EXPECT_TRUE(PathExists(path));
    EXPECT_EQ(FolderNames(disc.Dir()), (std::set<std::string>{"f", "lost+found"}));
}

INSTANTIATE_TEST_SUITE_P(Ends, WipeFlushFails,
                         testing::Values(FlushCase{"at the flush", 1 << 20, 0},
                                         FlushCase{"during the pass", 3 * Writeback::Ahead, 50}));

// Wipes path in a child process after prepare() ran there; answers the one message shown, or
// what went wrong instead.
template <typename Prepare>
std::string WipeMessageInChild(const std::string& path, const std::string& folder,
                               Prepare prepare) {
    int report[2];
    if (::pipe(report) != 0) {
        return "no pipe";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        std::string text = "cannot prepare";
        if (prepare()) {
            CommandsTestView view;
            const bool failed = Wipe(view, path, folder) == WipeOutcome::Failed;
            text = failed && view.messages.shown.size() == 1 ? view.messages.shown[0].text
                                                             : "unexpected outcome";
        }
        (void)!::write(report[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(report[1]);
    std::string text;
    char buffer[256];
    for (ssize_t got; (got = ::read(report[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(report[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return text;
}

// A write error that is not a full disc is said with the system's reason. The limit on file
// size refuses every write past it, also within the file.
TEST(WipeOneFile, OtherWriteErrorNamesTheReason) {
    TempDir dir;
    WriteFileBytes(dir / "big", PatternBytes(64 << 10));
    const std::string text = WipeMessageInChild(dir / "big", dir.Folder(), [] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16 << 10, 16 << 10};
        return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    });
    EXPECT_EQ(text, "Unable to wipe file 'big': File too large.");
    EXPECT_TRUE(ReadFileBytes(dir / "big").substr(16 << 10) ==
                PatternBytes(64 << 10).substr(16 << 10));
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{"big"});
}

struct FlushErrorCase {
    const char* label;
    long systemCall;
    int error;
    const char* cause;
};

void PrintTo(const FlushErrorCase& param, std::ostream* out) {
    *out << param.label;
}

class WipeFlushOrCloseFails : public testing::TestWithParam<FlushErrorCase> {};

// A failing device makes the flush or the close fail with EIO: said as that, not as a full disc,
// which would send the user looking for free space. The file keeps its name.
TEST_P(WipeFlushOrCloseFails, SaysTheRealCause) {
    TempDir dir;
    WriteFileBytes(dir / "f", PatternBytes(64 << 10));
    const FlushErrorCase& c = GetParam();
    const std::string text = WipeMessageInChild(
        dir / "f", dir.Folder(), [&] { return FailSystemCall(c.systemCall, c.error); });
    if (text == "cannot prepare") {
        GTEST_SKIP() << "no seccomp filter can be installed here";
    }
    EXPECT_EQ(text, std::string("Unable to wipe file 'f': ") + c.cause);
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{"f"});
}

INSTANTIATE_TEST_SUITE_P(
    Errors, WipeFlushOrCloseFails,
    testing::Values(FlushErrorCase{"flush EIO", __NR_fdatasync, EIO, "Input/output error."},
                    FlushErrorCase{"close EIO", __NR_close, EIO, "Input/output error."},
                    FlushErrorCase{"flush EDQUOT", __NR_fdatasync, EDQUOT,
                                   "The disc may be full."}));

} // namespace
} // namespace quarn::test

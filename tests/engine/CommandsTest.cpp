#include "CommandsTestView.h"
#include "cipher/Rijndael.h"
#include "engine/FileCommands.h"
#include "engine/Wipe.h"
#include "platform/PosixFile.h"

#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quarn::test {
namespace {

const std::string Password = "correct horse";

// A window, its cipher and settings, running the loops over full paths.
struct Commands {
    Commands() {
        cipher.CipherMode = CBC;
        cipher.KeySize = Large256;
        options.HexValue = 0x5A;
    }
    void Encrypt(const std::vector<std::string>& paths, const std::string& folder) {
        EncryptFiles(view, cipher, options, paths, folder, Password);
    }
    void Decrypt(const std::vector<std::string>& paths, const std::string& folder) {
        DecryptFiles(view, cipher, options, paths, folder, Password);
    }

    CommandsTestView view;
    TRijndael cipher;
    EngineOptions options;
};

// The container file, decrypted independently of the reader.
std::string Plain(const std::string& containerPath) {
    return ContainerCipher(Password, ReadFileBytes(containerPath), false);
}

// --- encrypt ---

TEST(CommandsEncrypt, NumberedNameThenOriginalWipedAndBackByDecrypt) {
    TempDir dir;
    const std::string contents = PatternBytes(10000);
    WriteFileBytes(dir / "a.txt", contents);
    WriteFileBytes(dir / "0.zot!", "x");
    WriteFileBytes(dir / "1.zot!", "y");
    ASSERT_EQ(::link((dir / "a.txt").c_str(), (dir / "hard").c_str()), 0);

    Commands run;
    run.Encrypt({dir / "a.txt"}, dir.Folder());
    EXPECT_EQ(Plain(dir / "2.zot!"), ContainerPlain(Password, "a.txt", contents));
    EXPECT_FALSE(PathExists(dir / "a.txt"));
    EXPECT_EQ(ReadFileBytes(dir / "hard"), std::string(10000, '\x5A')); // wiped, not deleted
    EXPECT_TRUE(run.view.messages.shown.empty());
    EXPECT_EQ(run.view.log,
              (std::vector<std::string>{"file 1 of 1", "type Encrypting:", "in a.txt", "out -",
                                        "out 2.zot!", "type Wiping:", "overall 100"}));

    Commands back;
    back.Decrypt({dir / "2.zot!"}, dir.Folder());
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), contents);
    EXPECT_FALSE(PathExists(dir / "2.zot!"));
    EXPECT_EQ(back.view.log,
              (std::vector<std::string>{"file 1 of 1", "type Decrypting:", "in 2.zot!", "out -",
                                        "out a.txt", "overall 100"}));
}

struct NamingCase {
    bool appendExtension;
    const char* source;
    const char* output;
};

void PrintTo(const NamingCase& param, std::ostream* out) {
    *out << (param.appendExtension ? "append " : "replace ") << param.source;
}

class CommandsEncryptNaming : public testing::TestWithParam<NamingCase> {};

TEST_P(CommandsEncryptNaming, OutputBesideTheSourceDeletedWithDeleteOriginal) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / "my.dir").c_str(), 0700), 0);
    WriteFileBytes(dir / GetParam().source, "contents");
    ASSERT_EQ(::link((dir / GetParam().source).c_str(), (dir / "hard").c_str()), 0);
    Commands run;
    run.options.EncryptName = false;
    run.options.AppendExtension = GetParam().appendExtension;
    run.options.DeleteOriginal = true;
    run.Encrypt({dir / GetParam().source}, dir.Folder());
    EXPECT_EQ(Plain(dir / GetParam().output),
              ContainerPlain(Password, NamePart(GetParam().source), "contents"));
    EXPECT_FALSE(PathExists(dir / GetParam().source));
    EXPECT_EQ(ReadFileBytes(dir / "hard"), "contents"); // deleted, not wiped
}

INSTANTIATE_TEST_SUITE_P(Settings, CommandsEncryptNaming,
                         testing::Values(NamingCase{true, "report.txt", "report.txt.zot!"},
                                         NamingCase{false, "report.txt", "report.zot!"},
                                         NamingCase{false, "my.dir/README", "my.dir/README.zot!"}));

// The utility's run over two folders: every numbered name in the first file's folder.
TEST(CommandsEncrypt, FilesOfTwoFoldersNumberedIntoTheFirst) {
    TempDir first;
    TempDir second;
    WriteFileBytes(first / "a", "one");
    WriteFileBytes(second / "b", "two");
    Commands run;
    run.Encrypt({first / "a", second / "b"}, first.Folder());
    EXPECT_EQ(Plain(first / "0.zot!"), ContainerPlain(Password, "a", "one"));
    EXPECT_EQ(Plain(first / "1.zot!"), ContainerPlain(Password, "b", "two"));
    EXPECT_EQ(FolderNames(second), std::set<std::string>{});
    EXPECT_EQ(run.view.overall, (std::vector<int>{50, 100}));
}

TEST(CommandsEncrypt, MissingAndEncryptedFilesPassedOverSilentlyStillMoveTheBar) {
    TempDir dir;
    WriteFileBytes(dir / "a.txt", "aaa");
    WriteFileBytes(dir / "b.ZOT!", "already");
    Commands run;
    run.Encrypt({dir / "a.txt", dir / "missing", "", dir / "b.ZOT!"}, dir.Folder());
    EXPECT_TRUE(run.view.messages.shown.empty());
    EXPECT_EQ(run.view.overall, (std::vector<int>{25, 50, 75, 100}));
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"0.zot!", "b.ZOT!"}));
    EXPECT_EQ(ReadFileBytes(dir / "b.ZOT!"), "already");
}

// A FIFO is never opened (that would block until a writer comes); a folder counts as missing.
TEST(CommandsEncrypt, FifoRefusedFolderPassedOverNeitherHangs) {
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir / "f.zot!").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir((dir / "folder").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir((dir / "d.zot!").c_str(), 0700), 0);
    WriteFileBytes(dir / "a", "aaa");
    Commands run;
    run.Encrypt({dir / "fifo", dir / "folder", dir / "a"}, dir.Folder());
    EXPECT_EQ(run.view.messages.Texts(),
              std::vector<std::string>{"Unable to encrypt file 'fifo': It is not a regular file."});
    EXPECT_EQ(run.view.overall, (std::vector<int>{67, 100}));
    Commands back;
    back.Decrypt({dir / "f.zot!", dir / "d.zot!"}, dir.Folder());
    EXPECT_EQ(back.view.messages.Texts(),
              std::vector<std::string>{"Unable to decrypt file 'f.zot!': It is not a regular "
                                       "file."});
    EXPECT_EQ(back.view.overall, std::vector<int>{100});
    EXPECT_EQ(FolderNames(dir),
              (std::set<std::string>{"0.zot!", "d.zot!", "f.zot!", "fifo", "folder"}));
}

// A link named as a file, to an existing file or dangling, is refused by every loop: neither
// the link nor its target changes. Encrypting one used to read the target and remove only the
// link, and wiping one removed only the link, both without a word.
TEST(CommandsLinks, EveryLoopRefusesALinkAndChangesNothing) {
    TempDir dir;
    WriteFileBytes(dir / "target", "real bytes");
    WriteFileBytes(dir / "target.zot!",
                   ContainerCipher(Password, ContainerPlain(Password, "t", "x")));
    for (const auto& [link, target] : {std::pair<std::string, std::string>{"link", "target"},
                                       {"link.zot!", "target.zot!"},
                                       {"dangling", "nowhere"},
                                       {"dangling.zot!", "nowhere.zot!"}}) {
        ASSERT_EQ(::symlink((dir / target).c_str(), (dir / link).c_str()), 0);
    }
    const auto before = FolderNames(dir);
    Commands run;
    run.Encrypt({dir / "link", dir / "dangling"}, dir.Folder());
    run.Decrypt({dir / "link.zot!", dir / "dangling.zot!"}, dir.Folder());
    WipeFiles(run.view, run.options,
              {dir / "link", dir / "dangling", dir / "link.zot!", dir / "dangling.zot!"},
              dir.Folder());
    std::vector<std::string> expected;
    for (const auto& [verb, name] :
         std::vector<std::pair<std::string, std::string>>{{"encrypt", "link"},
                                                          {"encrypt", "dangling"},
                                                          {"decrypt", "link.zot!"},
                                                          {"decrypt", "dangling.zot!"},
                                                          {"wipe", "link"},
                                                          {"wipe", "dangling"},
                                                          {"wipe", "link.zot!"},
                                                          {"wipe", "dangling.zot!"}}) {
        expected.push_back("Unable to " + verb + " file '" + name + "': It is not a regular file.");
    }
    EXPECT_EQ(run.view.messages.Texts(), expected);
    EXPECT_EQ(FolderNames(dir), before);
    EXPECT_EQ(ReadFileBytes(dir / "target"), "real bytes");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "dangling"));
}

TEST(CommandsEncrypt, AfterSuccessWipeUsesTheOriginalFileWording) {
    TempDir dir;
    WriteFileBytes(dir / "a.txt", "aaa");
    Commands run;
    run.options.EncryptName = false;
    run.Encrypt({dir / "a.txt"}, dir / "gone/"); // GUID rename into a missing folder fails
    EXPECT_EQ(run.view.messages.Texts(),
              std::vector<std::string>{
                  "Quarn! has successfully wiped the original file 'a.txt'. However, the file "
                  "could not be renamed prior to deletion.\r\n\r\nWould you like to delete the "
                  "original file anyway?"});
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "ZZZ"); // answered No: wiped with 0x5A, kept
    EXPECT_TRUE(PathExists(dir / "a.zot!"));
}

TEST(CommandsEncrypt, OriginalThatCannotBeDeletedIsSaid) {
    TempDir dir;
    TempDir out;
    WriteFileBytes(dir / "a.txt", "aaa");
    AppendOnlyFolder appendOnly(dir.Path().string());
    if (!appendOnly.Supported()) {
        GTEST_SKIP() << "append-only folders not supported here";
    }
    Commands run;
    run.options.DeleteOriginal = true;
    run.Encrypt({dir / "a.txt"}, out.Folder());
    EXPECT_EQ(run.view.messages.Texts(),
              std::vector<std::string>{"Quarn! was unable to delete the original file "
                                       "'a.txt'.\r\n\r\nPlease manually delete file '" +
                                       dir / "a.txt" + "'."});
    EXPECT_TRUE(PathExists(out / "0.zot!"));
}

TEST(CommandsEncrypt, FullDiscSaysSoKeepsTheSourceAndLeavesNoOutput) {
    SmallTmpfs disc("64k");
    if (!disc.Mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    const std::string contents = PatternBytes(40000);
    WriteFileBytes(disc.Dir() / "a.bin", contents);
    Commands run;
    run.Encrypt({disc.Dir() / "a.bin"}, disc.Dir().Folder());
    EXPECT_EQ(run.view.messages.Texts(),
              std::vector<std::string>{"Unable to encrypt file 'a.bin': The disc may be full."});
    EXPECT_EQ(ReadFileBytes(disc.Dir() / "a.bin"), contents);
    EXPECT_EQ(FolderNames(disc.Dir()), std::set<std::string>{"a.bin"});
    EXPECT_EQ(run.view.overall, std::vector<int>{100}); // its chunk loop ran
}

// --- name clashes ---

// a.txt encrypts to a.zot!, which exists.
struct EncryptClash {
    TempDir dir;
    Commands run;
    EncryptClash() {
        WriteFileBytes(dir / "a.txt", "new");
        WriteFileBytes(dir / "a.zot!", "old");
        run.options.EncryptName = false;
        run.options.DeleteOriginal = true;
    }
    void Encrypt() { run.Encrypt({dir / "a.txt"}, dir.Folder()); }
    std::vector<std::string> Texts() const { return run.view.messages.Texts(); }
};

const std::string EncryptQuestion =
    "After encryption, the resulting file will be named 'a.zot!'. This folder already contains "
    "a file named 'a.zot!'.\r\n\r\nWould you like to specify a new file name?";

TEST(CommandsEncryptClash, NewNameFromTheSaveDialog) {
    EncryptClash clash;
    clash.run.view.messages.QueueAnswer(MessageAnswer::Yes);
    clash.run.view.messages.QueueSavePath(clash.dir / "chosen.zot!");
    clash.Encrypt();
    EXPECT_EQ(clash.Texts(), std::vector<std::string>{EncryptQuestion});
    EXPECT_EQ(clash.run.view.messages.shown[0].kind, MessageKind::Confirmation);
    ASSERT_EQ(clash.run.view.messages.saveRequests.size(), 1u);
    const SaveDialogRequest& request = clash.run.view.messages.saveRequests[0];
    EXPECT_EQ(request.title, "Save As...");
    EXPECT_EQ(request.initialFolder, clash.dir.Folder());
    EXPECT_EQ(request.fileName, "a.zot!");
    EXPECT_EQ(request.defaultExtension, ".zot!");
    EXPECT_EQ(Plain(clash.dir / "chosen.zot!"), ContainerPlain(Password, "a.txt", "new"));
    EXPECT_EQ(ReadFileBytes(clash.dir / "a.zot!"), "old");
    EXPECT_TRUE(std::find(clash.run.view.log.begin(), clash.run.view.log.end(),
                          "out chosen.zot!") != clash.run.view.log.end());
}

TEST(CommandsEncryptClash, ChosenExistingFileIsReplaced) {
    EncryptClash clash;
    WriteFileBytes(clash.dir / "other", "other");
    clash.run.view.messages.QueueAnswer(MessageAnswer::Yes);
    clash.run.view.messages.QueueSavePath(clash.dir / "other");
    clash.Encrypt();
    EXPECT_EQ(Plain(clash.dir / "other"), ContainerPlain(Password, "a.txt", "new"));
    EXPECT_EQ(clash.Texts(), std::vector<std::string>{EncryptQuestion});
}

TEST(CommandsEncryptClash, DialogCancelledThenNoOverwriteSkips) {
    EncryptClash clash;
    clash.run.view.messages.QueueAnswer(MessageAnswer::Yes); // dialog then cancelled
    clash.run.view.messages.QueueAnswer(MessageAnswer::No);
    clash.Encrypt();
    EXPECT_EQ(clash.Texts(),
              (std::vector<std::string>{EncryptQuestion, "Overwrite the existing file?",
                                        "Skipping file 'a.txt'."}));
    EXPECT_EQ(clash.run.view.messages.shown[2].kind, MessageKind::Information);
    EXPECT_EQ(ReadFileBytes(clash.dir / "a.txt"), "new");
    EXPECT_EQ(ReadFileBytes(clash.dir / "a.zot!"), "old");
    EXPECT_TRUE(clash.run.view.overall.empty()); // skipped: the bar stays
}

TEST(CommandsEncryptClash, OverwriteReplacesTheExistingFile) {
    EncryptClash clash;
    clash.run.view.messages.QueueAnswer(MessageAnswer::No);
    clash.run.view.messages.QueueAnswer(MessageAnswer::Yes);
    clash.Encrypt();
    EXPECT_EQ(Plain(clash.dir / "a.zot!"), ContainerPlain(Password, "a.txt", "new"));
    EXPECT_FALSE(PathExists(clash.dir / "a.txt"));
}

// The target is the source itself, by its own name from the dialog or as a hard link: never
// deleted, the file is skipped.
TEST(CommandsEncryptClash, TargetThatIsTheSourceIsNeverDeleted) {
    {
        EncryptClash clash;
        clash.run.view.messages.QueueAnswer(MessageAnswer::Yes);
        clash.run.view.messages.QueueSavePath(clash.dir / "a.txt");
        clash.Encrypt();
        EXPECT_EQ(clash.Texts().back(), "Unable to delete file 'a.txt'. Skipping file 'a.txt'.");
        EXPECT_EQ(clash.run.view.messages.shown.back().kind, MessageKind::Warning);
        EXPECT_EQ(ReadFileBytes(clash.dir / "a.txt"), "new");
    }
    {
        EncryptClash clash;
        ASSERT_EQ(::unlink((clash.dir / "a.zot!").c_str()), 0);
        ASSERT_EQ(::link((clash.dir / "a.txt").c_str(), (clash.dir / "a.zot!").c_str()), 0);
        clash.run.view.messages.QueueAnswer(MessageAnswer::No);
        clash.run.view.messages.QueueAnswer(MessageAnswer::Yes);
        clash.Encrypt();
        EXPECT_EQ(clash.Texts().back(), "Unable to delete file 'a.zot!'. Skipping file 'a.txt'.");
        EXPECT_EQ(ReadFileBytes(clash.dir / "a.txt"), "new");
        EXPECT_EQ(FolderNames(clash.dir), (std::set<std::string>{"a.txt", "a.zot!"}));
    }
}

// A container whose stored name is given; written by the writer itself.
void MakeContainer(const std::string& path, const std::string& storedName,
                   const std::string& contents) {
    WriteFileBytes(path, ContainerCipher(Password, ContainerPlain(Password, storedName, contents)));
}

const std::string DecryptQuestion = "This folder already contains a file named "
                                    "'a.txt'.\r\n\r\nWould you like to save the file with a new "
                                    "name?";

TEST(CommandsDecryptClash, NoAndNoSkipsWithoutAMessage) {
    TempDir dir;
    MakeContainer(dir / "c.zot!", "a.txt", "inside");
    WriteFileBytes(dir / "a.txt", "old");
    Commands run;
    run.Decrypt({dir / "c.zot!"}, dir.Folder());
    EXPECT_EQ(run.view.messages.Texts(),
              (std::vector<std::string>{DecryptQuestion, "Overwrite the existing file?"}));
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "old");
    EXPECT_TRUE(PathExists(dir / "c.zot!"));
    EXPECT_TRUE(run.view.overall.empty());
}

TEST(CommandsDecryptClash, SaveDialogProposesTheOutputsOwnExtension) {
    TempDir dir;
    MakeContainer(dir / "c.zot!", "a.txt", "inside");
    WriteFileBytes(dir / "a.txt", "old");
    Commands run;
    run.view.messages.QueueAnswer(MessageAnswer::Yes);
    run.view.messages.QueueSavePath(dir / "b.txt");
    run.Decrypt({dir / "c.zot!"}, dir.Folder());
    ASSERT_EQ(run.view.messages.saveRequests.size(), 1u);
    EXPECT_EQ(run.view.messages.saveRequests[0].defaultExtension, ".txt");
    EXPECT_EQ(run.view.messages.saveRequests[0].fileName, "a.txt");
    EXPECT_EQ(ReadFileBytes(dir / "b.txt"), "inside");
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "old");
    EXPECT_FALSE(PathExists(dir / "c.zot!"));
}

TEST(CommandsDecryptClash, StoredNameOfTheContainerItselfNeverDeletesIt) {
    TempDir dir;
    MakeContainer(dir / "c.zot!", "c.zot!", "inside");
    const std::string container = ReadFileBytes(dir / "c.zot!");
    Commands run;
    run.view.messages.QueueAnswer(MessageAnswer::No);
    run.view.messages.QueueAnswer(MessageAnswer::Yes);
    run.Decrypt({dir / "c.zot!"}, dir.Folder());
    EXPECT_EQ(run.view.messages.Texts().back(),
              "Unable to delete file 'c.zot!'. Skipping file 'c.zot!'.");
    EXPECT_EQ(ReadFileBytes(dir / "c.zot!"), container);
}

struct UndeletableCase {
    const char* label;
    bool decrypt;
    bool viaSaveDialog; // "chosen" from the dialog, else "Overwrite the existing file?" Yes
    std::vector<std::string> texts;
};

void PrintTo(const UndeletableCase& param, std::ostream* out) {
    *out << param.label;
}

class CommandsUndeletableTarget : public testing::TestWithParam<UndeletableCase> {};

// A file to be replaced that cannot be deleted is never written: the warning names it and the
// file is skipped with its source untouched.
TEST_P(CommandsUndeletableTarget, WarnsAndSkipsTheFile) {
    const UndeletableCase& c = GetParam();
    TempDir dir;
    const std::string source = c.decrypt ? dir / "c.zot!" : dir / "a.txt";
    const std::string clash = c.decrypt ? "a.txt" : "a.zot!";
    if (c.decrypt) {
        MakeContainer(source, "a.txt", "inside");
    } else {
        WriteFileBytes(source, "new");
    }
    WriteFileBytes(dir / clash, "old");
    WriteFileBytes(dir / "chosen", "old");
    const std::string sourceBytes = ReadFileBytes(source);
    AppendOnlyFolder appendOnly(dir.Path().string());
    if (!appendOnly.Supported()) {
        GTEST_SKIP() << "append-only folders not supported here";
    }
    Commands run;
    run.options.EncryptName = false;
    if (c.viaSaveDialog) {
        run.view.messages.QueueAnswer(MessageAnswer::Yes);
        run.view.messages.QueueSavePath(dir / "chosen");
    } else {
        run.view.messages.QueueAnswer(MessageAnswer::No);
        run.view.messages.QueueAnswer(MessageAnswer::Yes);
    }
    if (c.decrypt) {
        run.Decrypt({source}, dir.Folder());
    } else {
        run.Encrypt({source}, dir.Folder());
    }
    EXPECT_EQ(run.view.messages.Texts(), c.texts);
    EXPECT_EQ(run.view.messages.shown.back().kind, MessageKind::Warning);
    EXPECT_EQ(ReadFileBytes(dir / clash), "old");
    EXPECT_EQ(ReadFileBytes(dir / "chosen"), "old");
    EXPECT_EQ(ReadFileBytes(source), sourceBytes);
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{NamePart(source), clash, "chosen"}));
    EXPECT_TRUE(run.view.overall.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Roads, CommandsUndeletableTarget,
    testing::Values(UndeletableCase{"encrypt, overwrite",
                                    false,
                                    false,
                                    {EncryptQuestion, "Overwrite the existing file?",
                                     "Unable to delete file 'a.zot!'. Skipping file 'a.txt'."}},
                    UndeletableCase{"encrypt, save dialog",
                                    false,
                                    true,
                                    {EncryptQuestion,
                                     "Unable to delete file 'chosen'. Skipping file 'a.txt'."}},
                    UndeletableCase{"decrypt, overwrite",
                                    true,
                                    false,
                                    {DecryptQuestion, "Overwrite the existing file?",
                                     "Unable to delete file 'a.txt'. Skipping file 'c.zot!'."}},
                    UndeletableCase{"decrypt, save dialog",
                                    true,
                                    true,
                                    {DecryptQuestion,
                                     "Unable to delete file 'chosen'. Skipping file "
                                     "'c.zot!'."}}));

// --- a source that another program changes meanwhile ---

// Opens path for writing as another program would, without a lock.
void WriteAt(const std::string& path, const std::string& bytes, off_t offset, int flags = 0) {
    const UniqueFd fd(::open(path.c_str(), O_WRONLY | flags));
    ASSERT_TRUE(fd);
    ASSERT_EQ(::pwrite(fd.Get(), bytes.data(), bytes.size(), offset), std::ssize(bytes));
}

// A modification time of long ago, so that a change in the same tick of the clock still shows.
void BackdateModification(const std::string& path) {
    const timespec past[] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), past, 0), 0);
}

struct ChangeCase {
    const char* label;
    // Changes the file at path, whose first bytes were read; answers what it must then hold.
    std::function<std::string(const TempDir& dir, const std::string& path,
                              const std::string& contents)>
        change;
};

void PrintTo(const ChangeCase& param, std::ostream* out) {
    *out << param.label;
}

const ChangeCase SavedByRename{"saved by rename",
                               [](const TempDir& dir, const std::string& path, const std::string&) {
                                   const std::string newer = "the new version";
                                   WriteFileBytes(dir / "saving", newer);
                                   EXPECT_EQ(::rename((dir / "saving").c_str(), path.c_str()), 0);
                                   return newer;
                               }};
const ChangeCase RewrittenInPlace{
    "rewritten in place", [](const TempDir&, const std::string& path, const std::string& contents) {
        WriteAt(path, "EDIT", 0);
        return "EDIT" + contents.substr(4);
    }};
const ChangeCase AppendedTo{
    "appended to", [](const TempDir&, const std::string& path, const std::string& contents) {
        const std::string lines = "another line\nand one more\n";
        WriteAt(path, lines, 0, O_APPEND);
        return contents + lines;
    }};

// Changes the source once, after its first chunk was read by the procedure.
void ChangeWhileRead(Commands& run, const char* type, const TempDir& dir, const std::string& path,
                     const std::string& contents, const ChangeCase& change, std::string& expected) {
    run.view.onFileProgress = [&, type, path, contents](int percent) {
        if (expected.empty() && percent > 0 && run.view.type == type) {
            expected = change.change(dir, path, contents);
        }
    };
}

class CommandsEncryptChangedSource : public testing::TestWithParam<ChangeCase> {};

// The container is kept, and so is every byte of the new version, whether the original was to
// be deleted or wiped: the loop said so, naming the file. Deleting or wiping by the path used
// to destroy the new version, the edit or the appended lines.
TEST_P(CommandsEncryptChangedSource, KeepsTheChangedOriginalAndTheContainerAndSaysSo) {
    for (const bool deleteOriginal : {true, false}) {
        TempDir dir;
        const std::string contents = PatternBytes(200000);
        WriteFileBytes(dir / "a", contents);
        BackdateModification(dir / "a");
        Commands run;
        run.options.DeleteOriginal = deleteOriginal;
        std::string expected;
        ChangeWhileRead(run, "Encrypting:", dir, dir / "a", contents, GetParam(), expected);
        run.Encrypt({dir / "a"}, dir.Folder());
        ASSERT_FALSE(expected.empty());
        EXPECT_TRUE(ReadFileBytes(dir / "a") == expected) << deleteOriginal;
        EXPECT_EQ(run.view.messages.Texts(),
                  std::vector<std::string>{std::string("Unable to ") +
                                           (deleteOriginal ? "delete" : "wipe") +
                                           " file 'a': It changed while it was being encrypted "
                                           "and was left as it is."});
        EXPECT_EQ(run.view.messages.shown[0].kind, MessageKind::Warning);
        EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"0.zot!", "a"}));
        if (GetParam().label == SavedByRename.label) {
            EXPECT_TRUE(Plain(dir / "0.zot!") == ContainerPlain(Password, "a", contents));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Changes, CommandsEncryptChangedSource,
                         testing::Values(SavedByRename, RewrittenInPlace, AppendedTo));

class CommandsDecryptChangedSource : public testing::TestWithParam<ChangeCase> {};

// A container replaced by a newer one, or rewritten, while it was decrypted is kept beside the
// decrypted file; deleting it by its path used to throw the newer one away undecrypted.
TEST_P(CommandsDecryptChangedSource, KeepsTheChangedContainerAndSaysSo) {
    TempDir dir;
    const std::string contents = PatternBytes(200000);
    MakeContainer(dir / "c.zot!", "a", contents);
    const std::string container = ReadFileBytes(dir / "c.zot!");
    BackdateModification(dir / "c.zot!");
    Commands run;
    std::string expected;
    ChangeWhileRead(run, "Decrypting:", dir, dir / "c.zot!", container, GetParam(), expected);
    run.Decrypt({dir / "c.zot!"}, dir.Folder());
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(ReadFileBytes(dir / "c.zot!") == expected);
    EXPECT_TRUE(ReadFileBytes(dir / "a") == contents);
    EXPECT_EQ(run.view.messages.Texts(),
              std::vector<std::string>{"Unable to delete file 'c.zot!': It changed while it was "
                                       "being decrypted and was left as it is."});
}

INSTANTIATE_TEST_SUITE_P(Changes, CommandsDecryptChangedSource,
                         testing::Values(SavedByRename, RewrittenInPlace));

// The original's name is checked again before the wipe renames it: a file saved or appended to
// while the wipe ran keeps its name and its new bytes. (A rewrite of the same size cannot be
// told from the wipe's own writes.)
TEST(CommandsEncryptChangedSource, SavedOrAppendedToWhileTheOriginalIsWipedKeepsItsName) {
    for (const ChangeCase& change : {SavedByRename, AppendedTo}) {
        TempDir dir;
        const std::string contents = PatternBytes(3 * WipeBlockSize);
        WriteFileBytes(dir / "a", contents);
        Commands run;
        std::string expected;
        ChangeWhileRead(run, "Wiping:", dir, dir / "a", contents, change, expected);
        run.Encrypt({dir / "a"}, dir.Folder());
        ASSERT_FALSE(expected.empty());
        EXPECT_TRUE(Plain(dir / "0.zot!") == ContainerPlain(Password, "a", contents));
        EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"0.zot!", "a"})) << change.label;
        EXPECT_EQ(run.view.messages.Texts(),
                  std::vector<std::string>{"Unable to wipe file 'a': It changed while it was "
                                           "being wiped and was not deleted."});
        const std::string now = ReadFileBytes(dir / "a");
        const std::string added =
            change.label == SavedByRename.label ? expected : expected.substr(contents.size());
        EXPECT_TRUE(now.ends_with(added)) << change.label;
    }
}

// --- decrypt ---

TEST(CommandsDecrypt, SecondFolderDecryptsIntoTheFirstOnlyZotFilesTaken) {
    TempDir first;
    TempDir second;
    MakeContainer(first / "x.zot!", "one", "1");
    MakeContainer(second / "y.ZOT!", "two", "2");
    WriteFileBytes(second / "plain.txt", "plain");
    Commands run;
    run.Decrypt({first / "x.zot!", second / "plain.txt", second / "y.ZOT!", first / "missing"},
                first.Folder());
    EXPECT_EQ(ReadFileBytes(first / "one"), "1");
    EXPECT_EQ(ReadFileBytes(first / "two"), "2");
    EXPECT_EQ(FolderNames(first), (std::set<std::string>{"one", "two"}));
    EXPECT_EQ(FolderNames(second), std::set<std::string>{"plain.txt"});
    EXPECT_EQ(run.view.overall, (std::vector<int>{25, 50, 75, 100}));
    EXPECT_TRUE(run.view.messages.shown.empty());
}

TEST(CommandsDecrypt, FailedFileLeavesTheBarAndTheNextGoesOn) {
    TempDir dir;
    WriteFileBytes(dir / "bad.zot!", "");
    MakeContainer(dir / "good.zot!", "good", "g");
    Commands run;
    run.Decrypt({dir / "bad.zot!", dir / "good.zot!"}, dir.Folder());
    EXPECT_EQ(run.view.messages.Texts(),
              std::vector<std::string>{"Unable to decrypt file 'bad.zot!': Not a valid Quarn! "
                                       "file."});
    EXPECT_EQ(run.view.overall, std::vector<int>{100});
    EXPECT_EQ(ReadFileBytes(dir / "good"), "g");
}

TEST(CommandsDecrypt, ContainerThatCannotBeDeletedIsSaid) {
    TempDir dir;
    TempDir out;
    MakeContainer(dir / "c.zot!", "a", "inside");
    AppendOnlyFolder appendOnly(dir.Path().string());
    if (!appendOnly.Supported()) {
        GTEST_SKIP() << "append-only folders not supported here";
    }
    Commands run;
    run.Decrypt({dir / "c.zot!"}, out.Folder());
    EXPECT_EQ(run.view.messages.Texts(),
              std::vector<std::string>{"Quarn! was unable to delete the encrypted file "
                                       "'c.zot!'.\r\n\r\nPlease manually delete file '" +
                                       dir / "c.zot!" + "'."});
    EXPECT_EQ(ReadFileBytes(out / "a"), "inside");
}

// --- cancel ---

TEST(CommandsCancel, BeforeTheFirstFileNothingHappens) {
    TempDir dir;
    WriteFileBytes(dir / "a", "a");
    Commands run;
    run.view.cancel = true;
    run.Encrypt({dir / "a"}, dir.Folder());
    EXPECT_TRUE(run.view.log.empty());
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{"a"});
}

TEST(CommandsCancel, InTheChunkLoopKeepsTheSourceLeavesNoOutputStartsNoMore) {
    TempDir dir;
    const std::string contents = PatternBytes(40000);
    WriteFileBytes(dir / "a", contents);
    WriteFileBytes(dir / "b", "b");
    for (const bool decrypt : {false, true}) {
        Commands run;
        if (decrypt) {
            MakeContainer(dir / "a.zot!", "a2", contents);
        }
        run.view.onFileProgress = [&](int percent) { run.view.cancel = percent > 0; };
        if (decrypt) {
            run.Decrypt({dir / "a.zot!", dir / "b"}, dir.Folder());
        } else {
            run.Encrypt({dir / "a", dir / "b"}, dir.Folder());
        }
        const std::set<std::string> left =
            decrypt ? std::set<std::string>{"a", "a.zot!", "b"} : std::set<std::string>{"a", "b"};
        EXPECT_EQ(FolderNames(dir), left);
        EXPECT_EQ(ReadFileBytes(dir / "a"), contents);
        EXPECT_EQ(run.view.overall, std::vector<int>{50}); // its data loop ran
        EXPECT_TRUE(run.view.messages.shown.empty());
        std::filesystem::remove(dir / "a.zot!");
    }
}

// The file counts as encrypted before its original is wiped: its output stays.
TEST(CommandsCancel, DuringTheOriginalsWipeKeepsTheCompletedOutput) {
    TempDir dir;
    const std::string contents = PatternBytes(3 * WipeBlockSize);
    WriteFileBytes(dir / "a", contents);
    WriteFileBytes(dir / "b", "b");
    Commands run;
    run.view.onFileProgress = [&](int percent) {
        run.view.cancel = run.view.type == "Wiping:" && percent > 0;
    };
    run.Encrypt({dir / "a", dir / "b"}, dir.Folder());
    EXPECT_EQ(Plain(dir / "0.zot!"), ContainerPlain(Password, "a", contents));
    EXPECT_EQ(ReadFileBytes(dir / "a"),
              std::string(WipeBlockSize, '\x5A') + contents.substr(WipeBlockSize));
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"0.zot!", "a", "b"}));
}

// Nothing of a passed-over file is removed, not even a file at the name its output would take.
TEST(CommandsCancel, WhileAMissingFileIsPassedOverRemovesNothing) {
    TempDir dir;
    WriteFileBytes(dir / "missing.zot!", "someone's file");
    WriteFileBytes(dir / "b", "b");
    Commands run;
    run.options.EncryptName = false;
    run.view.onCounter = [&](int number) { run.view.cancel = number == 1; };
    run.Encrypt({dir / "missing", dir / "b"}, dir.Folder());
    EXPECT_EQ(ReadFileBytes(dir / "missing.zot!"), "someone's file");
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"b", "missing.zot!"}));
    EXPECT_EQ(run.view.overall, std::vector<int>{50});
}

// --- wipe loop ---

TEST(CommandsWipe, BarMovesForWipedAndMissingFilesNotForEmptyOrFailed) {
    TempDir dir;
    WriteFileBytes(dir / "a", "aaaa");
    WriteFileBytes(dir / "empty", "");
    Commands run;
    run.options.HexValue = 1;
    run.options.FastWipe = false;
    run.options.WipeCount = 2;
    WipeFiles(run.view, run.options, {dir / "a", dir / "missing", dir / "empty"}, dir.Folder());
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{});
    EXPECT_EQ(run.view.log,
              (std::vector<std::string>{"out -", "file 1 of 3", "type Wiping:", "in a",
                                        "overall 33", "file 2 of 3", "type Wiping:", "in missing",
                                        "overall 67", "file 3 of 3", "type Wiping:", "in empty"}));
    EXPECT_TRUE(run.view.messages.shown.empty());
}

TEST(CommandsWipe, FileFromAnotherFolderRenamedIntoTheGivenFolder) {
    TempDir first;
    TempDir second;
    WriteFileBytes(second / "b", "bbbb");
    ASSERT_EQ(::link((second / "b").c_str(), (first / "hard").c_str()), 0);
    Commands run;
    run.options.HexValue = 0x61;
    WipeFiles(run.view, run.options, {second / "b"}, first.Folder());
    EXPECT_EQ(FolderNames(second), std::set<std::string>{});
    EXPECT_EQ(ReadFileBytes(first / "hard"), "aaaa");
    EXPECT_TRUE(run.view.messages.shown.empty());
}

// --- the frame ---

TEST(CommandsGuard, ACommandStartedDuringAnotherDoesNothing) {
    TempDir dir;
    WriteFileBytes(dir / "a", PatternBytes(20000));
    WriteFileBytes(dir / "victim", "stays");
    Commands run;
    Commands nested;
    bool sawRunning = false;
    run.view.onPump = [&] {
        sawRunning = sawRunning || FileCommandRunning();
        WipeFiles(nested.view, nested.options, {dir / "victim"}, dir.Folder());
        nested.Encrypt({dir / "victim"}, dir.Folder());
    };
    run.Encrypt({dir / "a"}, dir.Folder());
    EXPECT_TRUE(sawRunning);
    EXPECT_FALSE(FileCommandRunning());
    EXPECT_TRUE(nested.view.log.empty());
    EXPECT_EQ(ReadFileBytes(dir / "victim"), "stays");
    EXPECT_TRUE(PathExists(dir / "0.zot!"));
}

TEST(CommandsGuard, EscapingErrorReachesTheCallerAfterTheLoopEnds) {
    TempDir dir;
    WriteFileBytes(dir / "a", "aaa");
    Commands run;
    EXPECT_THROW(EncryptFiles(run.view, run.cipher, run.options, {dir / "a"}, dir.Folder(), ""),
                 EKeyError);
    EXPECT_FALSE(FileCommandRunning());
    EXPECT_FALSE(run.cipher.KeySet());
    EXPECT_EQ(FolderNames(dir), std::set<std::string>{"a"});
    // The next command runs.
    run.Encrypt({dir / "a"}, dir.Folder());
    EXPECT_TRUE(PathExists(dir / "0.zot!"));
}

} // namespace
} // namespace quarn::test

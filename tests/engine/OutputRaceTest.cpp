#include "CaseNames.h"
#include "CommandsTestView.h"
#include "cipher/Rijndael.h"
#include "engine/FileCommands.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quarn::test {
namespace {

const std::string Password = "race password";

std::string Plain(const std::string& containerPath) {
    return ContainerCipher(Password, ReadFileBytes(containerPath), false);
}

// One program's run of a loop; take() runs when its file bar reaches 100, after the last
// chunk was written and before the output is named: another program taking the name then.
struct RacingRun {
    void Encrypt(const std::string& source, const std::string& folder) {
        EncryptFiles(view, cipher, options, {source}, folder, Password);
    }
    void Decrypt(const std::string& source, const std::string& folder) {
        DecryptFiles(view, cipher, options, {source}, folder, Password);
    }
    void TakeNameAtTheEnd(std::function<void()> take) {
        view.onFileProgress = [this, take = std::move(take)](int percent) {
            if (percent == 100 && view.type != "Wiping:") {
                take();
            }
        };
    }

    CommandsTestView view;
    TRijndael cipher;
    EngineOptions options;
};

// "0.zot!" was free when the run chose it and taken when the file was complete: the output
// moves on to "1.zot!" without a word, the other file is left alone and the source is wiped
// away as after any success. Before, the finished work was thrown away with "File exists.".
TEST(OutputRace, NumberedOutputMovesOnToTheNextFreeNumber) {
    TempDir dir;
    WriteFileBytes(dir / "big1.bin", PatternBytes(20000));
    RacingRun run;
    run.TakeNameAtTheEnd([&] { WriteFileBytes(dir / "0.zot!", "the other program's"); });
    run.Encrypt(dir / "big1.bin", dir.Folder());
    EXPECT_TRUE(run.view.messages.shown.empty());
    EXPECT_EQ(ReadFileBytes(dir / "0.zot!"), "the other program's");
    EXPECT_EQ(Plain(dir / "1.zot!"), ContainerPlain(Password, "big1.bin", PatternBytes(20000)));
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"0.zot!", "1.zot!"}));
    EXPECT_NE(std::find(run.view.log.begin(), run.view.log.end(), "out 1.zot!"),
              run.view.log.end());
}

struct TakenCase {
    const char* label;
    bool encrypt;
    std::vector<MessageAnswer> answers;
    std::optional<std::string> savedAs; // the save dialog's answer, when it is asked
    std::vector<std::string> texts;     // every message shown
    std::string kept;                   // the name under which the output stays, "" for none
};

void PrintTo(const TakenCase& param, std::ostream* out) {
    *out << param.label;
}

class OutputTaken : public testing::TestWithParam<TakenCase> {};

const std::string EncryptQuestion =
    "After encryption, the resulting file will be named 'a.zot!'. This folder already contains "
    "a file named 'a.zot!'.\r\n\r\nWould you like to specify a new file name?";
const std::string DecryptQuestion = "This folder already contains a file named 'a.txt'.\r\n\r\n"
                                    "Would you like to save the file with a new name?";
const std::string Overwrite = "Overwrite the existing file?";

// Any other output whose name was taken meanwhile goes through the name-clash questions, as a
// clash found before the work does; the finished work is kept unless the file is skipped.
TEST_P(OutputTaken, GoesThroughTheNameClashQuestions) {
    const TakenCase& c = GetParam();
    TempDir dir;
    const std::string contents = PatternBytes(10000);
    const std::string container =
        ContainerCipher(Password, ContainerPlain(Password, "a.txt", contents));
    const std::string source = c.encrypt ? "a.txt" : "a.zot!";
    const std::string output = c.encrypt ? "a.zot!" : "a.txt";
    WriteFileBytes(dir / source, c.encrypt ? contents : container);
    RacingRun run;
    run.options.EncryptName = false;
    for (const MessageAnswer answer : c.answers) {
        run.view.messages.QueueAnswer(answer);
    }
    if (c.savedAs) {
        run.view.messages.QueueSavePath(dir / *c.savedAs);
    }
    run.TakeNameAtTheEnd([&] { WriteFileBytes(dir / output, "the other program's"); });
    c.encrypt ? run.Encrypt(dir / source, dir.Folder()) : run.Decrypt(dir / source, dir.Folder());

    EXPECT_EQ(run.view.messages.Texts(), c.texts);
    std::set<std::string> names{output};
    if (c.kept.empty()) {
        names.insert(source);
        EXPECT_EQ(ReadFileBytes(dir / output), "the other program's");
    } else {
        names.insert(c.kept);
        const std::string kept = ReadFileBytes(dir / c.kept);
        EXPECT_TRUE(c.encrypt ? Plain(dir / c.kept) == ContainerPlain(Password, "a.txt", contents)
                              : kept == contents);
    }
    EXPECT_EQ(FolderNames(dir), names);
}

using enum MessageAnswer;

INSTANTIATE_TEST_SUITE_P(
    OutputRace, OutputTaken,
    testing::Values(
        TakenCase{
            "EncryptSavedUnderAnotherName", true, {Yes}, "b.zot!", {EncryptQuestion}, "b.zot!"},
        TakenCase{"EncryptOverwrites", true, {No, Yes}, {}, {EncryptQuestion, Overwrite}, "a.zot!"},
        TakenCase{"EncryptSkipped",
                  true,
                  {No, No},
                  {},
                  {EncryptQuestion, Overwrite, "Skipping file 'a.txt'."},
                  ""},
        TakenCase{
            "DecryptSavedUnderAnotherName", false, {Yes}, "b.txt", {DecryptQuestion}, "b.txt"},
        TakenCase{"DecryptSkippedSilently", false, {No, No}, {}, {DecryptQuestion, Overwrite}, ""}),
    CaseName());

// Two real runs encrypt into one folder at once and both choose "0.zot!": each waits, with its
// name chosen, until the other has chosen too. Both files end up encrypted, under two numbers.
TEST(OutputRace, TwoProcessesWritingIntoOneFolderKeepBothFiles) {
    TempDir dir;
    const std::string contents[] = {PatternBytes(30000, 1), PatternBytes(30000, 2)};
    WriteFileBytes(dir / "one", contents[0]);
    WriteFileBytes(dir / "two", contents[1]);
    int chosen[2];
    int go[2];
    ASSERT_EQ(::pipe(chosen), 0);
    ASSERT_EQ(::pipe(go), 0);
    pid_t children[2] = {};
    for (int i = 0; i < 2; ++i) {
        children[i] = ::fork();
        if (children[i] == 0) {
            RacingRun run;
            bool waited = false;
            // The first pump after the output was named; the sweep before it may pump too.
            run.view.onPump = [&] {
                const auto& log = run.view.log;
                const bool named = std::any_of(log.begin(), log.end(), [](const std::string& line) {
                    return line.starts_with("out ");
                });
                char byte = 0;
                if (named && !waited) {
                    waited = true;
                    if (::write(chosen[1], "c", 1) != 1 || ::read(go[0], &byte, 1) != 1) {
                        ::_exit(2);
                    }
                }
            };
            run.Encrypt(dir / (i == 0 ? "one" : "two"), dir.Folder());
            const auto& log = run.view.log;
            const bool choseZero = std::find(log.begin(), log.end(), "out 0.zot!") != log.end();
            ::_exit(!choseZero ? 3 : run.view.messages.shown.empty() ? 0 : 1);
        }
    }
    char bytes[2];
    ASSERT_EQ(::read(chosen[0], bytes, 1), 1);
    ASSERT_EQ(::read(chosen[0], bytes + 1, 1), 1);
    ASSERT_EQ(::write(go[1], "gg", 2), 2);
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "3: did not choose 0.zot!, 1: showed a message";
    }
    for (int fd : {chosen[0], chosen[1], go[0], go[1]}) {
        ::close(fd);
    }
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"0.zot!", "1.zot!"}));
    const std::set<std::string> plains = {Plain(dir / "0.zot!"), Plain(dir / "1.zot!")};
    EXPECT_EQ(plains, (std::set<std::string>{ContainerPlain(Password, "one", contents[0]),
                                             ContainerPlain(Password, "two", contents[1])}));
}

} // namespace
} // namespace quarn::test

// quarn-contextmenu as a file manager runs it, with a stand-in QuarnCLU that records how it
// was started.
#include "CluFixture.h"
#include "app/Settings.h"
#include "platform/Registry.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace quarn::clu::test {
namespace {

namespace fs = std::filesystem;

constexpr char Record[] = "QUARN_TEST_CLU_RECORD";

// Records its arguments, the folder it ran from, whether it has a session of its own and
// where its input comes from; written whole, then renamed, so that a reader sees all or
// nothing.
constexpr char FakeUtility[] = R"sh(#!/bin/sh
{
    echo "program $0"
    for a in "$@"; do echo "arg $a"; done
    [ "$(cut -d" " -f6 /proc/$$/stat)" = "$$" ] && echo "own session"
    echo "input $(readlink /proc/$$/fd/0)"
} > "$QUARN_TEST_CLU_RECORD.part"
mv "$QUARN_TEST_CLU_RECORD.part" "$QUARN_TEST_CLU_RECORD"
)sh";

struct CommandRun {
    int exitCode = -1;
    std::string errors; // what it wrote to stderr
};

void MakeProgram(const std::string& path, const std::string& text) {
    WriteFileBytes(path, text);
    fs::permissions(path, fs::perms::owner_all);
}

class ContextMenuCommandTest : public CluTest {
protected:
    void SetUp() override {
        CluTest::SetUp();
        fs::create_directories(bin);
        fs::create_directories(work);
        fs::copy_file(QUARN_CONTEXTMENU_PROGRAM, command);
        MakeProgram(bin + "/QuarnCLU", FakeUtility);
        WriteContextMenu("/left/over\r\n");
    }

    // Runs program with args (raw bytes) in folder, with PATH set to path.
    CommandRun RunCommand(const std::string& program, const std::vector<std::string>& args,
                          const std::string& folder, const std::string& path = "/usr/bin:/bin") {
        std::vector<std::string> environment{std::string(Record) + "=" + record, "PATH=" + path};
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string_view text(*entry);
            if (!text.starts_with("PATH=") && !text.starts_with(Record)) {
                environment.emplace_back(text);
            }
        }
        std::vector<char*> envp;
        for (auto& entry : environment) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);
        std::vector<std::string> argStrings{program};
        argStrings.insert(argStrings.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& arg : argStrings) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);

        const std::string errorsFile = dir / "stderr.txt";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorsFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t child = 0;
        const int error =
            posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        CommandRun run;
        if (error != 0) {
            ADD_FAILURE() << "cannot start " << program;
            return run;
        }
        int status = 0;
        waitpid(child, &status, 0);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
        run.errors = ReadFileBytes(errorsFile);
        return run;
    }

    CommandRun RunCommand(const std::vector<std::string>& args) {
        return RunCommand(command, args, work);
    }

    // What the stand-in utility recorded; "" when it did not run within a few seconds.
    std::string WaitForRecord(std::chrono::milliseconds patience = std::chrono::seconds(10)) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        while (!PathExists(record) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return PathExists(record) ? ReadFileBytes(record) : std::string();
    }

    std::string Started(const std::string& utility, const std::vector<std::string>& args) {
        std::string text = "program " + utility + "\n";
        for (const auto& arg : args) {
            text += "arg " + arg + "\n";
        }
        return text + "own session\ninput /dev/null\n";
    }

    const std::string bin = dir / "bin";
    const std::string work = dir / "work folder";
    const std::string command = bin + "/quarn-contextmenu";
    const std::string record = dir / "utility.txt";
};

TEST_F(ContextMenuCommandTest, AppendsTheFilesAndStartsTheUtilityBesideIt) {
    const CommandRun run =
        RunCommand({"/e", "two words.txt", "r\xE9sum\xE9.txt", "/other/abs\xFF", "./dotted"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(WaitForRecord(), Started(bin + "/QuarnCLU", {"/e", "zotshell"}));

    // The utility finds the earlier list first, then these, as absolute names.
    const std::string folder = work + "/";
    EXPECT_EQ(ReadUtilityStart().ContextMenuFiles,
              (std::vector<std::string>{"/left/over", folder + "two words.txt",
                                        folder + "r\xE9sum\xE9.txt", "/other/abs\xFF",
                                        folder + "./dotted"}));
}

TEST_F(ContextMenuCommandTest, EachSwitchReachesTheUtility) {
    for (const char* option : {"/d", "/w"}) {
        fs::remove(record);
        EXPECT_EQ(RunCommand({option, "/x/" + std::string(option + 1)}).exitCode, 0);
        EXPECT_EQ(WaitForRecord(), Started(bin + "/QuarnCLU", {option, "zotshell"}));
    }
    EXPECT_EQ(ReadContextMenu(), "/left/over\r\n/x/d\n/x/w\n");
}

TEST_F(ContextMenuCommandTest, WithoutFilesTheUtilityGetsTheSwitchAloneAndTheListStays) {
    EXPECT_EQ(RunCommand({"/w"}).exitCode, 0);
    EXPECT_EQ(WaitForRecord(), Started(bin + "/QuarnCLU", {"/w"}));
    EXPECT_EQ(ReadContextMenu(), "/left/over\r\n");
}

struct Refusal {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
    const char* message;
};

class ContextMenuRefusalTest : public ContextMenuCommandTest,
                               public testing::WithParamInterface<Refusal> {};

TEST_P(ContextMenuRefusalTest, WritesNothingAndStartsNothing) {
    const Refusal& refusal = GetParam();
    const CommandRun run = RunCommand(refusal.args);
    EXPECT_EQ(run.exitCode, refusal.exitCode);
    EXPECT_EQ(run.errors, std::string("quarn-contextmenu: ") + refusal.message + "\n");
    EXPECT_EQ(ReadContextMenu(), "/left/over\r\n");
    EXPECT_EQ(WaitForRecord(std::chrono::milliseconds(300)), "");
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ContextMenuRefusalTest,
    testing::Values(
        Refusal{"LineFeed",
                {"/w", "/fine", "/one\nline"},
                1,
                "The file name '/one\\nline' holds a line break, which the \"ContextMenu\" list "
                "cannot carry; nothing was handed to QuarnCLU."},
        Refusal{"CarriageReturn",
                {"/e", "cr\r"},
                1,
                "The file name 'cr\\r' holds a line break, which the \"ContextMenu\" list "
                "cannot carry; nothing was handed to QuarnCLU."},
        Refusal{"EmptyName",
                {"/d", "/fine", ""},
                1,
                "An empty file name was given; nothing was handed to QuarnCLU."},
        Refusal{"CapitalSwitch", {"/E", "/x"}, 2, "Usage: quarn-contextmenu /e|/d|/w FILE..."},
        Refusal{"NoSwitch", {}, 2, "Usage: quarn-contextmenu /e|/d|/w FILE..."}),
    [](const testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST_F(ContextMenuCommandTest, ARelativeNameWithoutAWorkingFolderIsRefused) {
    const std::string gone = dir / "gone";
    fs::create_directory(gone);
    const CommandRun run = RunCommand(
        "/bin/sh", {"-c", "cd \"$1\" && rmdir \"$1\" && exec \"$0\" /e name.txt", command, gone},
        work);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errors, "quarn-contextmenu: The file name 'name.txt' is relative and the "
                          "working folder is unknown; nothing was handed to QuarnCLU.\n");
    EXPECT_EQ(ReadContextMenu(), "/left/over\r\n");
}

TEST_F(ContextMenuCommandTest, TheUtilityIsLookedForOnPathWhenNoneIsBesideIt) {
    const std::string alone = dir / "alone";
    const std::string onPath = dir / "on path";
    fs::create_directories(alone);
    fs::create_directories(onPath);
    fs::rename(command, alone + "/quarn-contextmenu");
    fs::rename(bin + "/QuarnCLU", onPath + "/QuarnCLU");
    // A utility in the working folder is never run through an empty or relative entry.
    MakeProgram(work + "/QuarnCLU", FakeUtility);
    const CommandRun run = RunCommand(alone + "/quarn-contextmenu", {"/e", "/x"}, work,
                                      ":.:bin:" + onPath + "/:/usr/bin");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(WaitForRecord(), Started(onPath + "/QuarnCLU", {"/e", "zotshell"}));
}

TEST_F(ContextMenuCommandTest, NoUtilityAnywhereLeavesTheListAsItWas) {
    fs::remove(bin + "/QuarnCLU");
    const CommandRun run = RunCommand(command, {"/e", "/x"}, work, "/nowhere:/usr/bin");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errors, "quarn-contextmenu: QuarnCLU was found neither beside this program nor "
                          "on PATH; nothing was handed to it.\n");
    EXPECT_EQ(ReadContextMenu(), "/left/over\r\n");
}

TEST_F(ContextMenuCommandTest, AUtilityThatCannotStartGetsNoFilesLeftBehind) {
    // Executable, but no program the system can run: a later run with another switch must
    // not find these names waiting.
    MakeProgram(bin + "/QuarnCLU", std::string("\x01\x02 not a program\n"));
    const CommandRun run = RunCommand({"/w", "/x"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errors.rfind("quarn-contextmenu: cannot start " + bin + "/QuarnCLU: ", 0), 0u)
        << run.errors;
    EXPECT_EQ(ReadContextMenu(), "/left/over\r\n");
}

} // namespace
} // namespace quarn::clu::test

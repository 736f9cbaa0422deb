// quarn-contextmenu as a file manager runs it, with a stand-in QuarnCLU that records how it
// was started.
#include "CaseNames.h"
#include "CluFixture.h"
#include "FakeUtility.h"
#include "app/common/Settings.h"
#include "platform/Registry.h"

#include <chrono>
#include <filesystem>

namespace quarn::clu::test {
namespace {

namespace fs = std::filesystem;

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

    // Runs program with args in folder, with PATH set to path.
    ProgramRun RunCommand(const std::string& program, const std::vector<std::string>& args,
                          const std::string& folder, const std::string& path = "/usr/bin:/bin") {
        return RunProgram(program, args, folder,
                          {std::string(FakeUtilityRecord) + "=" + record, "PATH=" + path});
    }

    ProgramRun RunCommand(const std::vector<std::string>& args) {
        return RunCommand(command, args, work);
    }

    std::string WaitForRecord(std::chrono::milliseconds patience = std::chrono::seconds(10)) {
        return WaitForFile(record, patience);
    }

    const std::string bin = dir / "bin";
    const std::string work = dir / "work folder";
    const std::string command = bin + "/quarn-contextmenu";
    const std::string record = dir / "utility.txt";
};

TEST_F(ContextMenuCommandTest, AppendsTheFilesAndStartsTheUtilityBesideIt) {
    const ProgramRun run =
        RunCommand({"/e", "two words.txt", "r\xE9sum\xE9.txt", "/other/abs\xFF", "./dotted"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(WaitForRecord(), DetachedStart(bin + "/QuarnCLU", {"/e", "zotshell"}));

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
        EXPECT_EQ(WaitForRecord(), DetachedStart(bin + "/QuarnCLU", {option, "zotshell"}));
    }
    EXPECT_EQ(ReadContextMenu(), "/left/over\r\n/x/d\n/x/w\n");
}

TEST_F(ContextMenuCommandTest, WithoutFilesTheUtilityGetsTheSwitchAloneAndTheListStays) {
    EXPECT_EQ(RunCommand({"/w"}).exitCode, 0);
    EXPECT_EQ(WaitForRecord(), DetachedStart(bin + "/QuarnCLU", {"/w"}));
    EXPECT_EQ(ReadContextMenu(), "/left/over\r\n");
}

struct Refusal {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
    const char* message;
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.name;
}

class ContextMenuRefusalTest : public ContextMenuCommandTest,
                               public testing::WithParamInterface<Refusal> {};

TEST_P(ContextMenuRefusalTest, WritesNothingAndStartsNothing) {
    const Refusal& refusal = GetParam();
    const ProgramRun run = RunCommand(refusal.args);
    EXPECT_EQ(run.exitCode, refusal.exitCode);
    EXPECT_EQ(run.output, std::string("quarn-contextmenu: ") + refusal.message + "\n");
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
    quarn::test::CaseName());

TEST_F(ContextMenuCommandTest, ARelativeNameWithoutAWorkingFolderIsRefused) {
    const std::string gone = dir / "gone";
    fs::create_directory(gone);
    const ProgramRun run = RunCommand(
        "/bin/sh", {"-c", "cd \"$1\" && rmdir \"$1\" && exec \"$0\" /e name.txt", command, gone},
        work);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "quarn-contextmenu: The file name 'name.txt' is relative and the "
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
    const ProgramRun run = RunCommand(alone + "/quarn-contextmenu", {"/e", "/x"}, work,
                                      ":.:bin:" + onPath + "/:/usr/bin");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(WaitForRecord(), DetachedStart(onPath + "/QuarnCLU", {"/e", "zotshell"}));
}

TEST_F(ContextMenuCommandTest, NoUtilityAnywhereLeavesTheListAsItWas) {
    fs::remove(bin + "/QuarnCLU");
    const ProgramRun run = RunCommand(command, {"/e", "/x"}, work, "/nowhere:/usr/bin");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "quarn-contextmenu: QuarnCLU was found neither beside this program nor "
                          "on PATH; nothing was handed to it.\n");
    EXPECT_EQ(ReadContextMenu(), "/left/over\r\n");
}

TEST_F(ContextMenuCommandTest, AUtilityThatCannotStartGetsNoFilesLeftBehind) {
    // Executable, but no program the system can run: a later run with another switch must
    // not find these names waiting.
    MakeProgram(bin + "/QuarnCLU", std::string("\x01\x02 not a program\n"));
    const ProgramRun run = RunCommand({"/w", "/x"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output.rfind("quarn-contextmenu: cannot start " + bin + "/QuarnCLU: ", 0), 0u)
        << run.output;
    EXPECT_EQ(ReadContextMenu(), "/left/over\r\n");
}

} // namespace
} // namespace quarn::clu::test

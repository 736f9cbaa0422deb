#include "TestFiles.h"
#include "help/HelpApi.h"
#include "help/HelpFuncs.h"

#include <QtGlobal>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>

namespace quarn {
namespace {

using test::PathExists;
using test::TempDir;
using test::WriteFileBytes;

std::vector<std::string> ReportLines(const std::string& folder) {
    std::ifstream in(folder + "/HHDebug.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

class DebugReport : public testing::Test {
protected:
    void SetUp() override {
        module_ = (dir_ / "QuarnCLU");
        const char* saved = std::getenv("TMPDIR");
        savedTemp_ = saved != nullptr ? std::optional<std::string>(saved) : std::nullopt;
        setenv("TMPDIR", temp_.Path().c_str(), 1);
        ASSERT_TRUE(RegisterHtmlHelpControl(QUARN_HTMLHELP_PATH));
    }
    void TearDown() override {
        ClearHelpFacts();
        if (savedTemp_) {
            setenv("TMPDIR", savedTemp_->c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    }

    TempDir dir_;
    TempDir temp_;
    std::string module_;
    std::optional<std::string> savedTemp_;
};

TEST_F(DebugReport, DebugSwitchWritesTheReportLines) {
    GatherHelpFacts(module_, {"/opt/quarn/QuarnCLU", "/DEBUG", "/e", "my file"});
    const auto lines = ReportLines(dir_.Path().string());
    ASSERT_EQ(lines.size(), 22u);
    const std::string report = dir_ / "HHDebug.txt";
    const std::string version =
        std::to_string(QUARN_VERSION_MAJOR) + "." + std::to_string(QUARN_VERSION_MINOR) + "." +
        std::to_string(QUARN_VERSION_RELEASE) + "." + std::to_string(QUARN_VERSION_BUILD);
    const std::string rule(79, '-');
    EXPECT_EQ(lines[0], "Filename:             \t" + report);
    EXPECT_TRUE(std::regex_match(
        lines[1], std::regex("Date:                 \t\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d")))
        << lines[1];
    EXPECT_TRUE(
        std::regex_match(lines[2], std::regex("Operating System:      \t\\S+ \\d+\\.\\d+\\.\\d+")))
        << lines[2];
    EXPECT_EQ(lines[3].rfind("SysLocale.DefaultLCID: \t", 0), 0u);
    EXPECT_EQ(lines[4].rfind("SysLocale.PriLangID:   \t", 0), 0u);
    EXPECT_EQ(lines[5].rfind("SysLocale.SubLangID:   \t", 0), 0u);
    EXPECT_EQ(lines[6].rfind("DecimalSeparator:      \t", 0), 0u);
    EXPECT_EQ(lines[7], rule);
    EXPECT_EQ(lines[8], "EXE Path =          \t/opt/quarn/QuarnCLU");
    EXPECT_EQ(lines[9], "Cmdline Param(s) =  \t/DEBUG | /e | my file");
    EXPECT_EQ(lines[10], "_RunDir =           \t/opt/quarn");
    EXPECT_EQ(lines[11], "_ModuleName =       \tQuarnCLU");
    EXPECT_EQ(lines[12], "_ModuleDir =        \t" + dir_.Path().string());
    EXPECT_EQ(lines[13], rule);
    EXPECT_EQ(lines[14], "_hhInstalled =      \tYES");
    EXPECT_EQ(lines[15], "_hhVerStr =         \t" + version);
    EXPECT_EQ(lines[16], "_hhFriendlyVerStr = \t" +
                             HtmlHelpFriendlyName(GetFileVersionText(QUARN_HTMLHELP_PATH)));
    EXPECT_EQ(lines[17], rule);
    EXPECT_EQ(lines[18], "_ieInstalled =      \tYES");
    EXPECT_EQ(lines[19], "_ieVerStr =         \t" + std::string(qVersion()) + ".0");
    EXPECT_EQ(lines[20], "_ieFriendlyVerStr = \t" + HelpStartupFacts().ieFriendlyVersionText);
    EXPECT_EQ(lines[21], std::string(79, '='));
}

TEST_F(DebugReport, UnregisteredControlReadsAsNotInstalled) {
    ASSERT_TRUE(RegisterHtmlHelpControl(dir_ / "gone.so"));
    GatherHelpFacts(module_, {module_, "-debug"});
    const auto lines = ReportLines(dir_.Path().string());
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[14], "_hhInstalled =      \tNO");
    EXPECT_EQ(lines[15], "_hhVerStr =         \t");
    EXPECT_EQ(lines[16], "_hhFriendlyVerStr = \t");
}

TEST_F(DebugReport, DebugModeFromSwitchOrMarkerFile) {
    const std::pair<std::vector<std::string>, bool> cases[] = {
        {{module_, "/debug"}, true},
        {{module_, "/DeBuG"}, true},
        {{module_, "x", "-DEBUG"}, true},
        {{module_, "debug"}, false},
        {{module_, "/debug2"}, false},
        {{module_}, false},
        {{"/debug"}, false}, // argument 0 is the program, not a switch
    };
    for (const auto& [arguments, debug] : cases) {
        SCOPED_TRACE(arguments.back());
        GatherHelpFacts(module_, arguments);
        EXPECT_EQ(HelpStartupFacts().debugMode, debug);
        EXPECT_EQ(PathExists(dir_ / "HHDebug.txt"), debug);
    }
    WriteFileBytes(dir_ / "debug.debug", "");
    GatherHelpFacts(module_, {module_});
    EXPECT_TRUE(HelpStartupFacts().debugMode);
    EXPECT_EQ(ReportLines(dir_.Path().string()).size(), 22u);
}

TEST_F(DebugReport, WithoutDebugModeAnOldReportIsStillDeleted) {
    WriteFileBytes(dir_ / "HHDebug.txt", "old report\n");
    GatherHelpFacts(module_, {module_});
    EXPECT_FALSE(PathExists(dir_ / "HHDebug.txt"));
}

TEST_F(DebugReport, UnwritableModuleFolderPutsTheReportInTheTempFolder) {
    WriteFileBytes(dir_ / "file", "");
    const std::string module = dir_ / "file/QuarnCLU"; // below a plain file: never writable
    GatherHelpFacts(module, {module, "/debug"});
    EXPECT_EQ(HelpStartupFacts().reportFolder, temp_.Path().string());
    const auto lines = ReportLines(temp_.Path().string());
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[0], "Filename:             \t" + (temp_ / "HHDebug.txt"));
}

TEST_F(DebugReport, LineForms) {
    GatherHelpFacts(module_, {module_});
    WriteDebugLine("plain %d %s", 7, "text");
    WriteDebugLine("!no time");
    WriteDebugLine("-");
    WriteDebugLine("=");
    WriteDebugLine("-dash text");
    WriteDebugLine("=equals text");
    WriteDebugLine("%s", "!formatted");
    const auto lines = ReportLines(dir_.Path().string());
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_TRUE(std::regex_match(lines[0], std::regex("plain 7 text   \\d\\d:\\d\\d:\\d\\d")))
        << lines[0];
    EXPECT_EQ(lines[1], "no time");
    EXPECT_EQ(lines[2], std::string(79, '-'));
    EXPECT_EQ(lines[3], std::string(79, '='));
    EXPECT_EQ(lines[4], "dash text");
    EXPECT_EQ(lines[5], "equals text");
    EXPECT_EQ(lines[6], "formatted");
}

TEST_F(DebugReport, NothingIsWrittenBeforeStartUpThroughALinkOrIntoAMissingFolder) {
    WriteDebugLine("!before");
    EXPECT_FALSE(PathExists(dir_ / "HHDebug.txt"));
    EXPECT_FALSE(PathExists(temp_ / "HHDebug.txt"));
    GatherHelpFacts(module_, {module_});
    WriteFileBytes(temp_ / "target", "kept");
    std::filesystem::create_symlink(temp_ / "target", dir_ / "HHDebug.txt");
    WriteDebugLine("!through a link");
    EXPECT_EQ(test::ReadFileBytes(temp_ / "target"), "kept");
    std::filesystem::remove_all(dir_.Path());
    WriteDebugLine("!lost"); // an I/O error skips the line quietly
    EXPECT_FALSE(PathExists(dir_ / "HHDebug.txt"));
}

} // namespace
} // namespace quarn

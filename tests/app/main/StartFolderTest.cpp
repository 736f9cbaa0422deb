// Where the tree goes at start, and the warning for a start-up folder that is gone.
#include "app/StartFolder.h"

#include "CaseNames.h"
#include "MainWindowFixture.h"

#include <filesystem>
#include <unistd.h>

namespace quarn::test {
namespace {

struct StartCase {
    const char* name;
    std::vector<std::string> arguments; // "<dir>" stands for the test's folder
    std::uint8_t startup;
    const char* startupFolder;
    const char* folder; // expected; "<dir>" likewise
    bool missing;
};

void PrintTo(const StartCase& c, std::ostream* out) {
    *out << c.name;
}

std::string Fill(std::string text, const std::string& dir) {
    for (std::size_t at; (at = text.find("<dir>")) != std::string::npos;) {
        text.replace(at, 5, dir);
    }
    return text;
}

class StartFolderRules : public testing::TestWithParam<StartCase> {
protected:
    TempDir dir;
};

TEST_P(StartFolderRules, ChooseStartFolder) {
    const StartCase& c = GetParam();
    const std::string root = dir.Path().string();
    std::filesystem::create_directory(dir / "Data");
    WriteFileBytes(dir / "Data/0.zot!", "x");
    std::vector<std::string> arguments;
    for (const std::string& argument : c.arguments) {
        arguments.push_back(Fill(argument, root));
    }
    const StartFolderChoice choice =
        ChooseStartFolder(arguments, c.startup, Fill(c.startupFolder, root));
    EXPECT_EQ(choice.Folder, Fill(c.folder, root));
    EXPECT_EQ(choice.StartupFolderMissing, c.missing);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartFolderRules,
    testing::Values(
        // The desktop opens an encrypted file: its folder, whatever Startup says.
        StartCase{"EncryptedFile", {"<dir>/Data/0.zot!"}, 2, "<dir>/", "<dir>/Data/", false},
        // A folder without a trailing "/" names its parent.
        StartCase{"FolderWithoutSlash", {"<dir>/Data"}, 0, "", "<dir>/", false},
        StartCase{"FolderWithSlash", {"<dir>/Data/"}, 0, "", "<dir>/Data/", false},
        StartCase{"MissingFolderStartupZero", {"<dir>/Gone/x.zot!"}, 0, "", "", false},
        StartCase{"MissingFolderStartupTwo",
                  {"<dir>/Gone/x.zot!"},
                  2,
                  "<dir>/Data/",
                  "<dir>/Data/",
                  false},
        StartCase{"NoArgumentsStartupZero", {}, 0, "<dir>/Data/", "", false},
        StartCase{"LastFolder", {}, 1, "<dir>/Data/", "<dir>/Data/", false},
        // Closed on a virtual folder, or not closed since "Last open folder" was chosen.
        StartCase{"NoLastFolder", {}, 1, "", "", false},
        StartCase{"DeletedLastFolder", {}, 1, "<dir>/Deleted/", "", true},
        StartCase{"DeletedStartupFolder", {}, 2, "<dir>/Deleted/", "", true},
        StartCase{"EmptyStartupFolder", {}, 2, "", "", true},
        // A file is no folder to start in.
        StartCase{"StartupFolderIsAFile", {}, 2, "<dir>/Data/0.zot!", "", true}),
    CaseName());

TEST(StartFolderRule, RelativeArgumentsCountFromTheWorkingFolder) {
    const TempDir dir;
    std::filesystem::create_directory(dir / "Data");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    const StartFolderChoice choice = ChooseStartFolder({"Data/file.zot!"}, 0, "");
    std::filesystem::current_path(before);
    EXPECT_EQ(choice.Folder, dir.Path().string() + "/Data/");
}

class StartUp : public MainWindowTest {};

TEST_F(StartUp, DeletedStartupFolderIsNamedInTheWarning) {
    Settings settings;
    settings.Startup = 2;
    settings.StartupFolder = dir / "Deleted";
    WriteSettings(settings);
    Start();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].kind, MessageKind::Warning);
    EXPECT_EQ(messages->shown[0].text,
              "The Start-up Folder specified in Options '" + (dir / "Deleted") +
                  "' no longer exists. \r\n\r\nPlease specify a new Start-up Folder, or select "
                  "a different Start-up Folder option.");
}

} // namespace
} // namespace quarn::test

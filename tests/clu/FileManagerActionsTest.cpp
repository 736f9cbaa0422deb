// The file manager's actions as installed: each form runs the installed quarn-contextmenu
// with its switch, whatever the installation folder's name holds.
#include "CluFixture.h"
#include "FakeUtility.h"
#include "app/common/Settings.h"

#include <QFile>
#include <QXmlStreamReader>
#include <filesystem>
#include <map>

namespace quarn::clu::test {
namespace {

namespace fs = std::filesystem;

using Groups = std::map<std::string, std::map<std::string, std::string>>;

struct Action {
    const char* id;
    const char* option;
    const char* name;
};

constexpr Action Actions[] = {{"encrypt", "/e", "Encrypt with Quarn!"},
                              {"decrypt", "/d", "Decrypt with Quarn!"},
                              {"wipe", "/w", "Wipe with Quarn!"}};

// A desktop entry's groups and keys.
Groups ReadKeyFile(const std::string& path) {
    Groups groups;
    std::string group;
    const std::string text = ReadFileBytes(path);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        if (line.starts_with("[") && line.ends_with("]")) {
            group = line.substr(1, line.size() - 2);
        } else if (const std::size_t equals = line.find('='); equals != std::string::npos) {
            groups[group][line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return groups;
}

// An Exec value as a launcher reads it: the string escapes, then the double quotes of the
// arguments with their backslash escapes, then "%%" as "%" (field codes stay).
std::vector<std::string> ExecArguments(const std::string& value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            text += next == 's' ? ' ' : next == 'n' ? '\n' : next == 't' ? '\t' : next;
        } else {
            text += value[i];
        }
    }
    std::vector<std::string> arguments;
    std::string argument;
    bool quoted = false;
    bool started = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '\\' && i + 1 < text.size()) {
            argument += text[++i];
        } else if (c == '"') {
            quoted = !quoted;
            started = true;
        } else if (c == ' ' && !quoted) {
            if (started) {
                arguments.push_back(argument);
            }
            argument.clear();
            started = false;
        } else {
            argument += c;
            started = true;
        }
    }
    if (started) {
        arguments.push_back(argument);
    }
    for (auto& arg : arguments) {
        for (std::size_t at = arg.find("%%"); at != std::string::npos;
             at = arg.find("%%", at + 1)) {
            arg.erase(at, 1);
        }
    }
    return arguments;
}

bool IsExecutable(const std::string& path) {
    return (fs::status(path).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

class FileManagerActionsTest : public CluTest {
protected:
    void SetUp() override {
        CluTest::SetUp();
        const ProgramRun install = RunProgram(QUARN_CMAKE_COMMAND,
                                              {"--install", QUARN_BUILD_DIR, "--prefix", prefix,
                                               "--component", "file-manager-actions"},
                                              dir.Path().string(), {});
        ASSERT_EQ(install.exitCode, 0) << install.output;
        MakeProgram(prefix + "/bin/QuarnCLU", FakeUtility);
        fs::create_directories(work);
    }

    // Runs program in the work folder with the stand-in utility recording.
    ProgramRun RunInWork(const std::string& program, const std::vector<std::string>& args) {
        fs::remove(record);
        return RunProgram(program, args, work,
                          {std::string(FakeUtilityRecord) + "=" + record, "PATH=/usr/bin:/bin"});
    }

    // The names that reached "ContextMenu", taken as the utility takes them.
    static std::vector<std::string> Handed() { return ReadUtilityStart().ContextMenuFiles; }

    // Quotes, "$", "%", a blank and a non-ASCII letter in the installation folder's name.
    const std::string prefix = dir / "in st\xC3\xA4ll's \"$HOME\" 100%";
    const std::string command = prefix + "/bin/quarn-contextmenu";
    const std::string work = dir / "shown folder";
    const std::string record = dir / "utility.txt";
};

TEST_F(FileManagerActionsTest, TheDesktopEntryIsValid) {
    const ProgramRun run =
        RunProgram("/usr/bin/desktop-file-validate",
                   {prefix + "/share/applications/quarn-file-actions.desktop"}, work, {});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "");
}

struct EntryFile {
    const char* name;
    const char* path; // below the prefix
    bool executable;
};

class FileManagerEntryTest : public FileManagerActionsTest,
                             public testing::WithParamInterface<EntryFile> {};

TEST_P(FileManagerEntryTest, EachActionRunsTheCommandWithItsSwitch) {
    const std::string path = prefix + GetParam().path;
    ASSERT_TRUE(PathExists(path));
    EXPECT_EQ(IsExecutable(path), GetParam().executable);
    Groups groups = ReadKeyFile(path);
    EXPECT_EQ(groups["Desktop Entry"]["Actions"], "encrypt;decrypt;wipe;");
    for (const Action& action : Actions) {
        auto& group = groups[std::string("Desktop Action ") + action.id];
        EXPECT_EQ(group["Name"], action.name);
        EXPECT_EQ(ExecArguments(group["Exec"]),
                  (std::vector<std::string>{command, action.option, "%F"}))
            << group["Exec"];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, FileManagerEntryTest,
    testing::Values(EntryFile{"DesktopEntry", "/share/applications/quarn-file-actions.desktop",
                              false},
                    EntryFile{"DolphinServiceMenu",
                              "/share/kio/servicemenus/quarn-file-actions.desktop", true}),
    [](const testing::TestParamInfo<EntryFile>& info) { return std::string(info.param.name); });

TEST_F(FileManagerActionsTest, TheServiceMenuOffersItselfForFilesOnly) {
    Groups groups = ReadKeyFile(prefix + "/share/kio/servicemenus/quarn-file-actions.desktop");
    EXPECT_EQ(groups["Desktop Entry"]["Type"], "Service");
    EXPECT_EQ(groups["Desktop Entry"]["MimeType"], "all/allfiles;");
}

TEST_F(FileManagerActionsTest, NautilusScriptsHandTheSelectedNamesOver) {
    for (const Action& action : Actions) {
        const std::string script = prefix + "/share/nautilus/scripts/" + action.name;
        ASSERT_TRUE(IsExecutable(script)) << script;
        // Nautilus runs a script in the shown folder with the names as arguments.
        const ProgramRun run = RunInWork(script, {"two words.txt", "r\xE9sum\xE9"});
        EXPECT_EQ(run.exitCode, 0) << run.output;
        EXPECT_EQ(WaitForFile(record),
                  DetachedStart(prefix + "/bin/QuarnCLU", {action.option, "zotshell"}));
        EXPECT_EQ(Handed(),
                  (std::vector<std::string>{work + "/two words.txt", work + "/r\xE9sum\xE9"}));
    }
}

struct ThunarAction {
    std::string name;
    std::string uniqueId;
    std::string command;
};

std::vector<ThunarAction> ReadThunarActions(const std::string& path) {
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    std::vector<ThunarAction> actions;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == u"action") {
            actions.emplace_back();
        } else if (!actions.empty() && xml.name() == u"name") {
            actions.back().name = xml.readElementText().toStdString();
        } else if (!actions.empty() && xml.name() == u"unique-id") {
            actions.back().uniqueId = xml.readElementText().toStdString();
        } else if (!actions.empty() && xml.name() == u"command") {
            actions.back().command = xml.readElementText().toStdString();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return actions;
}

TEST_F(FileManagerActionsTest, TheThunarActionsRunTheCommandWithTheirSwitch) {
    const std::vector<ThunarAction> found =
        ReadThunarActions(prefix + "/share/quarn/thunar/uca.xml");
    ASSERT_EQ(found.size(), std::size(Actions));
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].name, Actions[i].name);
        EXPECT_EQ(found[i].uniqueId, std::string("quarn-") + Actions[i].id);
        // Thunar puts the quoted paths in place of %F and runs the words of the line.
        std::string line = found[i].command;
        ASSERT_TRUE(line.ends_with(" %F")) << line;
        line.replace(line.size() - 2, 2, "'/a/b c.txt'");
        const ProgramRun run = RunInWork("/bin/sh", {"-c", line});
        EXPECT_EQ(run.exitCode, 0) << run.output;
        EXPECT_EQ(WaitForFile(record),
                  DetachedStart(prefix + "/bin/QuarnCLU", {Actions[i].option, "zotshell"}));
        EXPECT_EQ(Handed(), std::vector<std::string>{"/a/b c.txt"});
    }
}

} // namespace
} // namespace quarn::clu::test

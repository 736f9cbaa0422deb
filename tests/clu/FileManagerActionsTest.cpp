// The file manager's actions as installed: each form runs the installed quarn-contextmenu
// with its switch, whatever the installation folder's name holds.
#include "CaseNames.h"
#include "CluFixture.h"
#include "FakeUtility.h"
#include "app/common/Settings.h"

#include <QFile>
#include <QXmlStreamReader>
#include <algorithm>
#include <filesystem>
#include <fnmatch.h>
#include <map>
#include <set>

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

std::vector<std::string> Split(const std::string& list, char separator) {
    std::vector<std::string> items;
    for (std::size_t start = 0; start < list.size();) {
        const std::size_t end = std::min(list.find(separator, start), list.size());
        if (end > start) {
            items.push_back(list.substr(start, end - start));
        }
        start = end + 1;
    }
    return items;
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

// A form of the actions: its files below the prefix, all read together.
struct EntryForm {
    const char* name;
    std::vector<const char*> paths;
    bool executable;
};

void PrintTo(const EntryForm& form, std::ostream* out) {
    *out << form.name;
}

class FileManagerEntryTest : public FileManagerActionsTest,
                             public testing::WithParamInterface<EntryForm> {};

TEST_P(FileManagerEntryTest, EachActionRunsTheCommandWithItsSwitch) {
    std::map<std::string, std::map<std::string, std::string>> actions;
    for (const char* path : GetParam().paths) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(PathExists(prefix + path));
        EXPECT_EQ(IsExecutable(prefix + path), GetParam().executable);
        Groups groups = ReadKeyFile(prefix + path);
        for (const std::string& id : Split(groups["Desktop Entry"]["Actions"], ';')) {
            EXPECT_TRUE(actions.emplace(id, groups["Desktop Action " + id]).second) << id;
        }
    }
    EXPECT_EQ(actions.size(), std::size(Actions));
    for (const Action& action : Actions) {
        auto& group = actions[action.id];
        EXPECT_EQ(group["Name"], action.name);
        EXPECT_EQ(ExecArguments(group["Exec"]),
                  (std::vector<std::string>{command, action.option, "%F"}))
            << group["Exec"];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, FileManagerEntryTest,
    testing::Values(
        EntryForm{"DesktopEntry", {"/share/applications/quarn-file-actions.desktop"}, false},
        EntryForm{"DolphinServiceMenus",
                  {"/share/kio/servicemenus/quarn-file-actions.desktop",
                   "/share/kio/servicemenus/quarn-decrypt.desktop"},
                  true}),
    quarn::test::CaseName());

// Nautilus shows every script on every file: Decrypt is left to opening the file in Quarn.
TEST_F(FileManagerActionsTest, NautilusScriptsHandTheSelectedNamesOver) {
    const std::string scripts = prefix + "/share/nautilus/scripts/";
    EXPECT_EQ(quarn::test::FolderNames(scripts),
              (std::set<std::string>{"Encrypt with Quarn!", "Wipe with Quarn!"}));
    for (const Action& action : {Actions[0], Actions[2]}) {
        const std::string script = scripts + action.name;
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
    std::string patterns;
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
        } else if (!actions.empty() && xml.name() == u"patterns") {
            actions.back().patterns = xml.readElementText().toStdString();
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

class FileManagerOfferTest : public FileManagerActionsTest {
protected:
    void SetUp() override {
        FileManagerActionsTest::SetUp();
        // The ".zot!" type comes with Quarn's desktop entry.
        const ProgramRun install = RunProgram(
            QUARN_CMAKE_COMMAND,
            {"--install", QUARN_BUILD_DIR, "--prefix", prefix, "--component", "desktop-entry"},
            dir.Path().string(), {});
        ASSERT_EQ(install.exitCode, 0) << install.output;
    }

    // The file's type as the desktop looks it up, in a session of no particular desktop.
    std::string FileType(const std::string& file) {
        const ProgramRun run =
            RunProgram("/usr/bin/xdg-mime", {"query", "filetype", file}, work,
                       {"PATH=/usr/bin:/bin", "XDG_DATA_HOME=" + prefix + "/share",
                        "XDG_DATA_DIRS=/usr/share", "XDG_CURRENT_DESKTOP=", "DESKTOP_SESSION=",
                        "KDE_FULL_SESSION=", "GNOME_DESKTOP_SESSION_ID="});
        EXPECT_EQ(run.exitCode, 0) << run.output;
        return run.output.substr(0, run.output.find_first_of(";\n"));
    }

    // Dolphin: the actions of the service menus whose MIME types hold the file's type, or
    // all files.
    std::set<std::string> DolphinOffers(const std::string& type) {
        std::set<std::string> offered;
        for (const auto& entry : fs::directory_iterator(prefix + "/share/kio/servicemenus")) {
            Groups groups = ReadKeyFile(entry.path());
            const std::vector<std::string> types = Split(groups["Desktop Entry"]["MimeType"], ';');
            if (std::find(types.begin(), types.end(), type) != types.end() ||
                std::find(types.begin(), types.end(), "all/allfiles") != types.end()) {
                for (const std::string& id : Split(groups["Desktop Entry"]["Actions"], ';')) {
                    offered.insert(groups["Desktop Action " + id]["Name"]);
                }
            }
        }
        return offered;
    }

    // Thunar: the actions one of whose patterns matches the file's name.
    std::set<std::string> ThunarOffers(const std::string& file) {
        std::set<std::string> offered;
        for (const ThunarAction& action :
             ReadThunarActions(prefix + "/share/quarn/thunar/uca.xml")) {
            for (const std::string& pattern : Split(action.patterns, ';')) {
                if (fnmatch(pattern.c_str(), fs::path(file).filename().c_str(), 0) == 0) {
                    offered.insert(action.name);
                }
            }
        }
        return offered;
    }
};

TEST_F(FileManagerOfferTest, DecryptIsOfferedOnZotFilesOnly) {
    const std::set<std::string> encryptAndWipe{"Encrypt with Quarn!", "Wipe with Quarn!"};
    const std::set<std::string> all{"Encrypt with Quarn!", "Decrypt with Quarn!",
                                    "Wipe with Quarn!"};
    const std::pair<const char*, std::set<std::string>> cases[] = {
        {"report.txt", encryptAndWipe},
        {"0.zot!", all},
        {"my report.zot!", all},
        {"notes.zot!.txt", encryptAndWipe},
    };
    for (const auto& [name, offered] : cases) {
        SCOPED_TRACE(name);
        const std::string file = work + "/" + name;
        WriteFileBytes(file, PatternBytes(64));
        const std::string type = FileType(file);
        EXPECT_EQ(type == "application/x-quarn-zot", offered.size() == 3) << type;
        EXPECT_EQ(DolphinOffers(type), offered);
        EXPECT_EQ(ThunarOffers(file), offered);
    }
}

} // namespace
} // namespace quarn::clu::test

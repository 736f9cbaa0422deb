#include "app/FileTypeRegistration.h"

#include "ScopedEnvironment.h"
#include "TestFiles.h"
#include "app/DesktopIntegration.h"
#include "platform/Registry.h"

#include <QStandardPaths>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string_view>

namespace quarn {
namespace {

using test::PathExists;
using test::ReadFileBytes;
using test::ScopedEnvironment;
using test::TempDir;
using test::WriteFileBytes;

constexpr char Program[] = "/opt/Quarn Dir/bin/quarn";

void RegisterQuarn(const std::string& program, bool notify) {
    RegisterFileType(".zot!", "Quarn!", "Quarn! Encrypted File", program, 0, notify);
}

std::string DefaultValue(const std::string& key) {
    TRegistry classes(RegistryRoot::ClassesRoot);
    if (!classes.OpenKeyReadOnly(key)) {
        return "(no key " + key + ")";
    }
    return classes.ReadString("");
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

class FileTypeRegistrationTest : public ::testing::Test {
protected:
    std::string MimePackage() const { return data_ / "mime/packages/quarn-zot.xml"; }
    std::string DesktopEntry() const { return data_ / "applications/quarn.desktop"; }

    // update-mime-database and update-desktop-database that note the folder they were
    // given and leave the cache file the real ones make.
    void InstallRecordingTools() {
        const std::pair<const char*, const char*> tools[] = {
            {"update-mime-database", "mime.cache"},
            {"update-desktop-database", "mimeinfo.cache"},
        };
        for (const auto& [tool, cache] : tools) {
            const std::string path = tools_ / tool;
            WriteFileBytes(path, std::string("#!/bin/sh\nprintf '%s %s\\n' ") + tool +
                                     " \"$1\" >> '" + (tools_ / "log") + "'\n: > \"$1/" + cache +
                                     "\"\n");
            std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        }
    }
    std::string ToolLog() const {
        return PathExists(tools_ / "log") ? ReadFileBytes(tools_ / "log") : "";
    }

    TempDir registry_;
    TempDir data_;
    TempDir tools_;
    ScopedEnvironment registryFolder_{"QUARN_REGISTRY_DIR", registry_.Path().string()};
    ScopedEnvironment noSystemLayer_{"QUARN_SYSTEM_REGISTRY_DIR", ""};
    ScopedEnvironment dataHome_{"XDG_DATA_HOME", data_.Path().string()};
};

TEST_F(FileTypeRegistrationTest, WritesTheFiveClassKeys) {
    RegisterQuarn(Program, false);
    EXPECT_EQ(DefaultValue(".zot!"), "Quarn!");
    EXPECT_EQ(DefaultValue("Quarn!"), "Quarn! Encrypted File");
    EXPECT_EQ(DefaultValue("Quarn!\\DefaultIcon"), "/opt/Quarn Dir/bin/quarn,0");
    EXPECT_EQ(DefaultValue("Quarn!\\Shell\\Open"), "&Open");
    EXPECT_EQ(DefaultValue("Quarn!\\Shell\\Open\\Command"), "\"/opt/Quarn Dir/bin/quarn\" \"%1\"");
    EXPECT_FALSE(TRegistry().KeyExists(".zot!")); // only under HKEY_CLASSES_ROOT
    EXPECT_FALSE(PathExists(DesktopEntry()));     // the desktop is told only with notify
    EXPECT_FALSE(PathExists(MimePackage()));
}

TEST_F(FileTypeRegistrationTest, EveryStartRewritesTheKeysForTheProgramWhereItIsNow) {
    RegisterQuarn(Program, false);
    {
        TRegistry classes(RegistryRoot::ClassesRoot);
        ASSERT_TRUE(classes.OpenKey("Quarn!\\DefaultIcon", false));
        classes.WriteString("", "changed by another program");
    }
    RegisterQuarn("/home/me/moved/quarn", false);
    EXPECT_EQ(DefaultValue("Quarn!\\DefaultIcon"), "/home/me/moved/quarn,0");
    EXPECT_EQ(DefaultValue("Quarn!\\Shell\\Open\\Command"), "\"/home/me/moved/quarn\" \"%1\"");
    const std::string file = ReadFileBytes(registry_ / "HKEY_CLASSES_ROOT.txt");
    EXPECT_EQ(Count(file, "[Quarn!\\Shell\\Open\\Command]"), 1u) << file;
    EXPECT_EQ(file.find("/opt/Quarn Dir"), std::string::npos) << file;
}

TEST_F(FileTypeRegistrationTest, KeysThatDoNotOpenAreSkippedAndTheDesktopStillLearnsTheType) {
    std::filesystem::create_directory(registry_.Path() / "HKEY_CLASSES_ROOT.txt");
    ScopedEnvironment noTools("PATH", tools_.Path().string());
    EXPECT_NO_THROW(RegisterQuarn(Program, true));
    EXPECT_TRUE(PathExists(DesktopEntry()));
    EXPECT_TRUE(PathExists(MimePackage()));
}

TEST_F(FileTypeRegistrationTest, TheDesktopGetsTheTypeAndAnEntryThatOpensFilesWithQuarn) {
    InstallRecordingTools();
    ScopedEnvironment onlyOurTools("PATH", tools_.Path().string());
    RegisterQuarn(Program, true);

    const std::string package = ReadFileBytes(MimePackage());
    EXPECT_NE(package.find("<mime-type type=\"application/x-quarn-zot\">"), std::string::npos)
        << package;
    EXPECT_NE(package.find("<glob pattern=\"*.zot!\"/>"), std::string::npos) << package;
    EXPECT_NE(package.find("<comment>Quarn! Encrypted File</comment>"), std::string::npos);

    const std::string entry = ReadFileBytes(DesktopEntry());
    EXPECT_TRUE(entry.starts_with("[Desktop Entry]\n")) << entry;
    for (const char* line :
         {"\nType=Application\n", "\nName=Quarn!\n", "\nExec=\"/opt/Quarn Dir/bin/quarn\" %f\n",
          "\nMimeType=application/x-quarn-zot;\n"}) {
        EXPECT_NE(entry.find(line), std::string::npos) << line << " in\n" << entry;
    }
    EXPECT_EQ(ToolLog(), "update-mime-database " + (data_ / "mime") + "\nupdate-desktop-database " +
                             (data_ / "applications") + "\n");

    // The next start finds everything in place and runs nothing; a moved program
    // rewrites the entry and refreshes only its cache.
    RegisterQuarn(Program, true);
    EXPECT_EQ(Count(ToolLog(), "\n"), 2u) << ToolLog();
    RegisterQuarn("/usr/local/bin/quarn", true);
    EXPECT_NE(ReadFileBytes(DesktopEntry()).find("\nExec=/usr/local/bin/quarn %f\n"),
              std::string::npos);
    EXPECT_EQ(Count(ToolLog(), "update-desktop-database"), 2u) << ToolLog();
    EXPECT_EQ(Count(ToolLog(), "update-mime-database"), 1u) << ToolLog();
}

TEST_F(FileTypeRegistrationTest, WithoutTheFreedesktopToolsTheFilesAreStillWritten) {
    ScopedEnvironment noTools("PATH", tools_.Path().string());
    ASSERT_TRUE(QStandardPaths::findExecutable("update-mime-database").isEmpty());
    EXPECT_NO_THROW(RegisterQuarn(Program, true));
    EXPECT_TRUE(PathExists(MimePackage()));
    EXPECT_TRUE(PathExists(DesktopEntry()));
    EXPECT_EQ(DefaultValue(".zot!"), "Quarn!");
}

TEST_F(FileTypeRegistrationTest, AnUnwritableDataFolderChangesNothingForTheStart) {
    WriteFileBytes(data_ / "mime", "a file where the folder should be");
    WriteFileBytes(data_ / "applications", "and another");
    ScopedEnvironment noTools("PATH", tools_.Path().string());
    EXPECT_NO_THROW(RegisterQuarn(Program, true));
    EXPECT_EQ(DefaultValue("Quarn!\\Shell\\Open"), "&Open");
}

// The real tools, where they are installed, accept what we write.
TEST_F(FileTypeRegistrationTest, TheInstalledToolsTakeTheTypeIntoTheirCaches) {
    if (QStandardPaths::findExecutable("update-mime-database").isEmpty() ||
        QStandardPaths::findExecutable("update-desktop-database").isEmpty()) {
        GTEST_SKIP() << "the freedesktop tools are not installed";
    }
    RegisterQuarn(Program, true);
    const std::string globs = ReadFileBytes(data_ / "mime/globs2");
    EXPECT_NE(globs.find(":application/x-quarn-zot:*.zot!"), std::string::npos) << globs;
    const std::string cache = ReadFileBytes(data_ / "applications/mimeinfo.cache");
    EXPECT_NE(cache.find("application/x-quarn-zot=quarn.desktop;"), std::string::npos) << cache;
}

struct ExecCase {
    std::string program;
    std::string exec;
};

TEST(DesktopExecLine, QuotesTheProgramPathOnlyWhereTheFormatReservesACharacter) {
    const ExecCase cases[] = {
        {"/usr/bin/quarn", "/usr/bin/quarn %f"},
        {"/home/j\xC3\xBCrgen/.local/bin/Quarn", "/home/j\xC3\xBCrgen/.local/bin/Quarn %f"},
        {"/opt/100%/quarn", "/opt/100%%/quarn %f"}, // % is doubled, quoted or not
        {"/opt/my apps/quarn", "\"/opt/my apps/quarn\" %f"},
        {"/opt/tab\there/quarn", "\"/opt/tab\\there/quarn\" %f"},
        {"/opt/it's/quarn", "\"/opt/it's/quarn\" %f"},
        // Inside quotes ", `, $ and \ take a backslash, % is doubled; then the value's own
        // escaping doubles every backslash.
        {"/o/\"q\"/`x`/$HOME/a\\b/100%/quarn",
         "\"/o/\\\\\"q\\\\\"/\\\\`x\\\\`/\\\\$HOME/a\\\\\\\\b/100%%/quarn\" %f"},
    };
    for (const ExecCase& c : cases) {
        EXPECT_EQ(DesktopExecLine(c.program), c.exec) << c.program;
    }
    for (const char c : std::string_view(" \t\n\"'\\><~|&;$*?#()`")) {
        EXPECT_TRUE(DesktopExecLine(std::string("/opt/a") + c + "b/quarn").starts_with("\""))
            << "reserved: " << c;
    }
    for (const char c : std::string_view("!+,-.:@[]^_{}")) {
        EXPECT_EQ(DesktopExecLine(std::string("/opt/a") + c + "b/quarn"),
                  std::string("/opt/a") + c + "b/quarn %f")
            << "not reserved: " << c;
    }
}

} // namespace
} // namespace quarn

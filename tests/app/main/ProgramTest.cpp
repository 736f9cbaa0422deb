// The built Quarn as a process, and what its installation gives the desktop.
#include "MainWindowFixture.h"
#include "TestHome.h"
#include "app/DesktopIntegration.h"
#include "platform/Registry.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <filesystem>

namespace quarn::test {
namespace {

std::string ReadProgramPath() {
    TRegistry registry(RegistryRoot::LocalMachine);
    return registry.OpenKeyReadOnly("SOFTWARE\\Ostrel\\Quarn!") ? registry.ReadString("Path")
                                                                : std::string();
}

std::string ReadOpenCommand() {
    TRegistry registry(RegistryRoot::ClassesRoot);
    return registry.OpenKeyReadOnly("Quarn!\\Shell\\Open\\Command") ? registry.ReadString("")
                                                                    : std::string();
}

class ProgramRun : public MainWindowTest {
protected:
    // Installs the desktop entry and the ".zot!" type below prefix, as the installation does.
    static bool InstallDesktopEntry(const std::string& prefix) {
        QProcess install;
        install.setProcessChannelMode(QProcess::ForwardedChannels);
        install.start(QUARN_CMAKE_COMMAND,
                      {"--install", QUARN_BUILD_DIR, "--prefix", QString::fromStdString(prefix),
                       "--component", "desktop-entry"});
        return install.waitForFinished(60000) && install.exitCode() == 0;
    }

    // Starts Quarn through a bash command (the program in $0) and waits until it has
    // registered itself; then ends it. False when it never registered.
    bool RunUntilRegistered(const QString& command) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir.Path().c_str());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start("/bin/bash", {"-c", command, QUARN_PROGRAM});
        if (!process.waitForStarted(10000)) {
            return false;
        }
        const bool registered = QTest::qWaitFor([] { return !ReadProgramPath().empty(); }, WaitMs);
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
        return registered;
    }
};

TEST_F(ProgramRun, TheProgramFileIsTheRunningFileHoweverItWasStarted) {
    const std::filesystem::path program = std::filesystem::canonical(QUARN_PROGRAM);
    std::filesystem::create_symlink(program, dir / "quarn-link");
    std::filesystem::copy_file(program, dir / "Quarn");
    const std::pair<const char*, std::string> starts[] = {
        {"exec \"$0\"", program.parent_path()},
        {"exec ./quarn-link", program.parent_path()},               // through a link
        {"exec -a /elsewhere/Quarn \"$0\"", program.parent_path()}, // another argument 0
        {"exec ./Quarn", dir.Path().string()},                      // a copy, by a relative path
        {"PATH=/nowhere:\"$PWD\" exec Quarn", dir.Path().string()}, // the copy, from PATH
    };
    for (const auto& [command, folder] : starts) {
        SCOPED_TRACE(command);
        EmptyTestRegistry();
        ASSERT_TRUE(RunUntilRegistered(command));
        EXPECT_EQ(ReadProgramPath(), folder);
        EXPECT_EQ(ReadOpenCommand(), "\"" + folder + "/Quarn\" \"%1\"");
    }
}

TEST_F(ProgramRun, InstalledDesktopFilesAreWhatTheRegistrationWrites) {
    // A prefix whose path the Exec line takes as it is, and one it must quote.
    for (const std::string& prefix : {dir / "prefix", dir / "pre fix's \"$HOME\" 100%"}) {
        SCOPED_TRACE(prefix);
        ASSERT_TRUE(InstallDesktopEntry(prefix));
        const std::string data = prefix + "-registered";
        const char* previous = std::getenv("XDG_DATA_HOME");
        const std::string keep = previous != nullptr ? previous : "";
        setenv("XDG_DATA_HOME", data.c_str(), 1);
        PublishFileType({".zot!", "Quarn!", "Quarn! Encrypted File", prefix + "/bin/Quarn"});
        setenv("XDG_DATA_HOME", keep.c_str(), 1);

        for (const char* file : {"applications/quarn.desktop", "mime/packages/quarn-zot.xml"}) {
            SCOPED_TRACE(file);
            EXPECT_EQ(ReadFileBytes(prefix + "/share/" + file), ReadFileBytes(data + "/" + file));
        }
    }
}

// Outside GNOME, KDE and Xfce, xdg-open reads the desktop entry itself: it takes the Exec
// line's first word as the program and puts the file in place of %f.
TEST_F(ProgramRun, XdgOpenUnderAPlainWindowManagerStartsQuarnWithTheFile) {
    const std::string prefix = dir / "prefix";
    ASSERT_TRUE(InstallDesktopEntry(prefix));
    const std::string record = dir / "started.txt";
    // Quarn's stand-in notes its arguments, one per line.
    std::filesystem::create_directory(prefix + "/bin");
    WriteFileBytes(prefix + "/bin/Quarn", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record + "'\n");
    std::filesystem::permissions(prefix + "/bin/Quarn", std::filesystem::perms::owner_all);

    // No desktop named; xdg-open asks for a file's type only when there is a display.
    QProcessEnvironment session;
    session.insert("PATH", "/usr/bin:/bin");
    session.insert("HOME", QString::fromStdString(dir / "home"));
    session.insert("XDG_CONFIG_HOME", QString::fromStdString(dir / "config"));
    session.insert("XDG_DATA_HOME", QString::fromStdString(prefix + "/share"));
    session.insert("XDG_DATA_DIRS", "/usr/share");
    session.insert("DISPLAY", ":0");
    session.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
    std::filesystem::create_directory(dir / "with blanks");
    for (const std::string& file : {dir / "0.zot!", dir / "with blanks/my report.zot!"}) {
        SCOPED_TRACE(file);
        WriteFileBytes(file, PatternBytes(64));
        std::filesystem::remove(record);
        QProcess open;
        open.setProcessEnvironment(session);
        open.setProcessChannelMode(QProcess::MergedChannels);
        open.start("/usr/bin/xdg-open", {QString::fromStdString(file)});
        ASSERT_TRUE(open.waitForFinished(60000));
        EXPECT_EQ(open.exitCode(), 0) << open.readAll().toStdString();
        ASSERT_TRUE(PathExists(record));
        EXPECT_EQ(ReadFileBytes(record), file + "\n");
    }
}

} // namespace
} // namespace quarn::test

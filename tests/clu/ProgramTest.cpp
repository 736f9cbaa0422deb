// The built QuarnCLU as a process: every road ends the program by itself.
#include "CluFixture.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace quarn::clu::test {
namespace {

struct ProgramRun {
    bool finished = false;
    int exitCode = -1;
    std::string boxes; // the texts of the boxes shown, each followed by "\n--\n"
};

class ProgramTest : public CluTest {
protected:
    // Starts the program in the test's folder with arguments, shell words that may hold any
    // bytes ("$(printf ...)"); a plugin answers its boxes with answer.
    ProgramRun Run(const QString& arguments, const char* answer) {
        const std::string log = dir / "boxes.log";
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("QT_PLUGIN_PATH", QUARN_TEST_PLUGIN_DIR);
        environment.insert("QT_QPA_GENERIC_PLUGINS", "quarnboxbutler");
        environment.insert("QUARN_BOX_LOG", QString::fromStdString(log));
        environment.insert("QUARN_BOX_ANSWER", answer);
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir.Path().c_str());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start("/bin/sh", {"-c", "exec \"$0\" " + arguments, QUARN_CLU_PROGRAM});
        ProgramRun run;
        if (!process.waitForStarted(10000)) {
            ADD_FAILURE() << "QuarnCLU did not start";
            return run;
        }
        run.finished = process.waitForFinished(20000);
        if (!run.finished) {
            process.kill();
            process.waitForFinished(5000);
        } else {
            run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        }
        if (PathExists(log)) {
            run.boxes = ReadFileBytes(log);
        }
        std::filesystem::remove(log);
        return run;
    }
};

TEST_F(ProgramTest, UsageRefusalEndsTheProcess) {
    WriteFileBytes(dir / "a.txt", "kept");
    const ProgramRun run = Run("/E a.txt", "No");
    EXPECT_TRUE(run.finished) << "QuarnCLU lingered after the usage message";
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.boxes, "Incorrect Usage\n\nUsage: QuarnCLU [/e][/d][/w] filename\n/e -\tEncrypt "
                         "file\n/d -\tDecrypt file\n/w -\tWipe file\n--\n");
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "kept");
}

TEST_F(ProgramTest, NoToTheWipeEndsTheProcessAndQtArgumentsAreFileNames) {
    // Qt would take these for itself (and end the program on an unknown platform): the
    // utility sees file names.
    WriteFileBytes(dir / "-reverse", "kept");
    const ProgramRun run = Run("/w -reverse -platform nowhere", "No");
    EXPECT_TRUE(run.finished) << "QuarnCLU lingered after No";
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.boxes.rfind("Wiping a file will permanently overwrite", 0), 0u) << run.boxes;
    EXPECT_EQ(ReadFileBytes(dir / "-reverse"), "kept");
}

TEST_F(ProgramTest, WipeEndsTheProcessWhenItsLoopHasRun) {
    WriteFileBytes(dir / "-style", PatternBytes(100000));
    WriteFileBytes(dir / "r\xE9sum\xE9.txt", PatternBytes(10));
    // A name that is not UTF-8 reaches the wipe as the same bytes.
    const ProgramRun run = Run("/w -style \"$(printf 'r\\351sum\\351.txt')\"", "Yes");
    EXPECT_TRUE(run.finished) << "QuarnCLU lingered after the wipe";
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Names(dir.Folder()), std::vector<std::string>{});
}

TEST_F(ProgramTest, WipeRefusesALinkAndChangesNothing) {
    WriteFileBytes(dir / "target.txt", "plain target");
    std::filesystem::create_symlink(dir / "target.txt", dir.Path() / "link");
    const ProgramRun run = Run("/w link", "Yes");
    EXPECT_TRUE(run.finished);
    EXPECT_NE(run.boxes.find("--\nUnable to wipe file 'link': It is not a regular file.\n--\n"),
              std::string::npos)
        << run.boxes;
    EXPECT_EQ(Names(dir.Folder()), (std::vector<std::string>{"link", "target.txt"}));
    EXPECT_EQ(ReadFileBytes(dir / "target.txt"), "plain target");
}

} // namespace
} // namespace quarn::clu::test

// The program's entry in process: refusals at start-up end without a window.
#include "CluFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace quarn::clu::test {
namespace {

bool AnyWindowVisible() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            return true;
        }
    }
    return false;
}

// Runs the entry and notes whether a window was shown while it ran.
struct EntryRun {
    int exitCode = -1;
    bool windowSeen = false;
};

EntryRun RunEntry(const std::vector<std::string>& args) {
    EntryRun run;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { run.windowSeen |= AnyWindowVisible(); });
    watch.start(0);
    std::vector<std::string> full{"QuarnCLU"};
    full.insert(full.end(), args.begin(), args.end());
    run.exitCode = RunUtility(full);
    run.windowSeen |= AnyWindowVisible();
    return run;
}

class UsageTest : public CluTest, public testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(UsageTest, ShowsTheUsageAndNoWindow) {
    WriteFileBytes(dir / "a.txt", "kept");
    std::vector<std::string> args = GetParam();
    for (auto& arg : args) {
        if (arg == "FILE") {
            arg = dir / "a.txt";
        }
    }
    const EntryRun run = RunEntry(args);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(run.windowSeen);
    EXPECT_EQ(fMain, nullptr);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].kind, MessageKind::Warning);
    EXPECT_EQ(messages->shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(messages->shown[0].text,
              "Incorrect Usage\r\n\r\nUsage: QuarnCLU [/e][/d][/w] filename\r\n/e -\tEncrypt "
              "file\r\n/d -\tDecrypt file\r\n/w -\tWipe file");
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "kept");
}

INSTANTIATE_TEST_SUITE_P(Refusals, UsageTest,
                         testing::Values(std::vector<std::string>{}, std::vector<std::string>{"/w"},
                                         std::vector<std::string>{"/E", "FILE"},
                                         std::vector<std::string>{"/e/", "FILE"},
                                         std::vector<std::string>{"/w", "zotshell"},
                                         std::vector<std::string>{"/d", "zotshell", "FILE"}));

TEST_F(CluTest, NoToTheWipeQuestionEndsWithoutAWindow) {
    WriteFileBytes(dir / "a.txt", "kept");
    messages->QueueAnswer(MessageAnswer::No);
    const EntryRun run = RunEntry({"/w", dir / "a.txt"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(run.windowSeen);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text,
              "Wiping a file will permanently overwrite the file's original contents! This "
              "procedure cannot be reversed once started, and the file being wiped is generally "
              "not recoverable by any means.\r\n\r\nWipe the selected files?");
    EXPECT_EQ(messages->shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "kept");
}

TEST_F(CluTest, YesToTheWipeQuestionWipesAndTheEntryReturns) {
    WriteFileBytes(dir / "a.txt", PatternBytes(9000));
    WriteContextMenu(dir / "b.txt");
    WriteFileBytes(dir / "b.txt", "listed by the context menu");
    messages->QueueAnswer(MessageAnswer::Yes);
    const EntryRun run = RunEntry({"/w", dir / "a.txt"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.windowSeen);
    EXPECT_FALSE(AnyWindowVisible());
    EXPECT_EQ(messages->shown.size(), 1u);
    EXPECT_TRUE(Names(dir.Folder()).empty());
    EXPECT_EQ(ReadContextMenu(), "");
}

TEST_F(CluTest, EncryptThroughTheEntryEndsWhenTheLoopHasRun) {
    WriteFileBytes(dir / "a.txt", "plain");
    QTimer driver;
    driver.setSingleShot(true);
    QObject::connect(&driver, &QTimer::timeout, [] {
        ASSERT_NE(fMain, nullptr);
        Edit(*fMain, "ePassword")->setText(QStringLiteral("secret123"));
        Edit(*fMain, "eConfirm")->setText(QStringLiteral("secret123"));
        Button(*fMain, "bOK")->click();
    });
    driver.start(0);
    const EntryRun run = RunEntry({"/e", dir / "a.txt"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(Names(dir.Folder()), std::vector<std::string>{"0.zot!"});
}

} // namespace
} // namespace quarn::clu::test

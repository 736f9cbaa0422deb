// The utility's window end to end: password typed, OK pressed, files checked on disk.
#include "CluFixture.h"
#include "app/common/KVBEllipsisLabel.h"
#include "app/common/KVBRunOnce.h"
#include "platform/gui/QtMessageService.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>

namespace quarn::clu::test {
namespace {

constexpr char Secret[] = "correct horse";

TEST_F(CluTest, EncryptWithDefaultsNumbersTheOutputWipesTheOriginalAndDecryptsBack) {
    const std::string original = PatternBytes(10000);
    WriteFileBytes(dir / "report.txt", original);

    auto encrypt = RunWithPassword({"/e", dir / "report.txt"}, Secret);
    ASSERT_TRUE(encrypt);
    EXPECT_TRUE(encrypt->Ended());
    EXPECT_FALSE(encrypt->isVisible());
    EXPECT_TRUE(messages->shown.empty()) << messages->shown.front().text;
    EXPECT_EQ(Names(dir.Folder()), std::vector<std::string>{"0.zot!"});
    EXPECT_EQ(Label(*encrypt, "lOverall")->text(), QStringLiteral("1 of 1"));
    EXPECT_EQ(Bar(*encrypt, "pbOverall")->value(), 100);
    EXPECT_EQ(FileNameLabel(*encrypt, "lInFile")->Caption(), "report.txt");
    encrypt.reset();

    auto decrypt = RunWithPassword({"/d", dir / "0.zot!"}, Secret);
    ASSERT_TRUE(decrypt);
    EXPECT_TRUE(decrypt->Ended());
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(Names(dir.Folder()), std::vector<std::string>{"report.txt"});
    EXPECT_EQ(ReadFileBytes(dir / "report.txt"), original);
}

// A second link to the original keeps its data readable after the wipe removed the name.
TEST_F(CluTest, DefaultSettingsWipeWithOneFastPassOfZeros) {
    std::filesystem::create_directory(dir.Path() / "links");
    const std::string original = PatternBytes(70000);
    for (const char* name : {"encrypted.txt", "wiped.txt"}) {
        WriteFileBytes(dir / name, original);
        std::filesystem::create_hard_link(dir / name, dir.Path() / "links" / name);
    }

    RunWithPassword({"/e", dir / "encrypted.txt"}, Secret);
    messages->QueueAnswer(MessageAnswer::Yes);
    auto wipe = Create({"/w", dir / "wiped.txt"});
    wipe->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return wipe->Ended(); }, 10000));

    EXPECT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(Names(dir.Folder()), (std::vector<std::string>{"0.zot!", "links"}));
    for (const char* name : {"encrypted.txt", "wiped.txt"}) {
        EXPECT_EQ(ReadFileBytes(dir / ("links/" + std::string(name))),
                  std::string(original.size(), '\0'))
            << name;
    }
}

// A newer container saved over the one being decrypted is kept, beside the decrypted file.
TEST_F(CluTest, AContainerReplacedDuringTheDecryptionIsKept) {
    const std::string original = PatternBytes(2 << 20, 3);
    WriteFileBytes(dir / "report.txt", original);
    RunWithPassword({"/e", dir / "report.txt"}, Secret);
    ASSERT_EQ(Names(dir.Folder()), std::vector<std::string>{"0.zot!"});

    auto window = Create({"/d", dir / "0.zot!"});
    ASSERT_TRUE(window->ShowMainForm());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    bool replaced = false;
    QObject::connect(Bar(*window, "pbCurrent"), &QProgressBar::valueChanged, [&](int value) {
        if (!replaced && value > 0) {
            replaced = true;
            WriteFileBytes(dir / "saving", "a newer container");
            std::filesystem::rename(dir / "saving", dir / "0.zot!");
        }
    });
    TypeText(Edit(*window, "ePassword"), Secret);
    TypeText(Edit(*window, "eConfirm"), Secret);
    QTest::mouseClick(Button(*window, "bOK"), Qt::LeftButton);
    EXPECT_TRUE(window->Ended());
    ASSERT_TRUE(replaced);
    EXPECT_EQ(ReadFileBytes(dir / "0.zot!"), "a newer container");
    EXPECT_TRUE(ReadFileBytes(dir / "report.txt") == original);
    EXPECT_EQ(messages->Texts(),
              std::vector<std::string>{"Unable to delete file '0.zot!': It changed while it was "
                                       "being decrypted and was left as it is."});
}

TEST_F(CluTest, WrongPasswordOnDecryptKeepsTheEncryptedFile) {
    WriteFileBytes(dir / "a.txt", "alpha");
    RunWithPassword({"/e", dir / "a.txt"}, Secret);
    const std::string encrypted = ReadFileBytes(dir / "0.zot!");

    auto decrypt = RunWithPassword({"/d", dir / "0.zot!"}, "wrong");
    EXPECT_TRUE(decrypt->Ended());
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_NE(messages->shown[0].text.find("0.zot!"), std::string::npos);
    EXPECT_EQ(Names(dir.Folder()), std::vector<std::string>{"0.zot!"});
    EXPECT_EQ(ReadFileBytes(dir / "0.zot!"), encrypted);
}

TEST_F(CluTest, FilesOfTwoFoldersLandInTheFirstFolder) {
    std::filesystem::create_directory(dir.Path() / "one");
    std::filesystem::create_directory(dir.Path() / "two");
    const std::string first = dir / "one/x.txt";
    const std::string second = dir / "two/y.txt";
    WriteFileBytes(first, PatternBytes(5000, 1));
    WriteFileBytes(second, PatternBytes(7000, 2));

    RunWithPassword({"/e", first, second}, Secret);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(Names(dir / "one"), (std::vector<std::string>{"0.zot!", "1.zot!"}));
    EXPECT_TRUE(Names(dir / "two").empty());

    // An encrypted file of the second folder, listed after one of the first, is decrypted
    // into the first folder under its stored name.
    std::filesystem::rename(dir / "one/1.zot!", dir / "two/1.zot!");
    RunWithPassword({"/d", dir / "one/0.zot!", dir / "two/1.zot!"}, Secret);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(Names(dir / "one"), (std::vector<std::string>{"x.txt", "y.txt"}));
    EXPECT_TRUE(Names(dir / "two").empty());
    EXPECT_EQ(ReadFileBytes(dir / "one/x.txt"), PatternBytes(5000, 1));
    EXPECT_EQ(ReadFileBytes(dir / "one/y.txt"), PatternBytes(7000, 2));
}

TEST_F(CluTest, ContextMenuLeftoverComesFirstAndIsEmptied) {
    std::filesystem::create_directory(dir.Path() / "menu");
    const std::string fromMenu = dir / "menu/listed.txt";
    WriteFileBytes(fromMenu, "from the context menu");
    WriteFileBytes(dir / "typed.txt", "from the command line");
    // An empty first line and a missing entry are passed over without a message; the
    // folder is the first listed file's, the relative name is the working folder's.
    WriteContextMenu("\r\n" + fromMenu + "\r\n" + (dir / "gone.txt") + "\r\n");

    auto window = RunWithPassword({"/e", "typed.txt"}, Secret);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(ReadContextMenu(), "");
    EXPECT_EQ(Label(*window, "lOverall")->text(), QStringLiteral("4 of 4"));
    EXPECT_EQ(Bar(*window, "pbOverall")->value(), 100);
    EXPECT_EQ(Names(dir / "menu"), (std::vector<std::string>{"0.zot!", "1.zot!"}));
    window.reset();

    // 0 is the value's file, 1 the command line's.
    RunWithPassword({"/d", dir / "menu/0.zot!"}, Secret);
    EXPECT_EQ(ReadFileBytes(dir / "menu/listed.txt"), "from the context menu");
    RunWithPassword({"/d", dir / "menu/1.zot!"}, Secret);
    EXPECT_EQ(ReadFileBytes(dir / "menu/typed.txt"), "from the command line");
}

TEST_F(CluTest, ZotShellTakesOnlyTheContextMenuNames) {
    const std::string listed = dir / "listed.txt";
    WriteFileBytes(listed, "listed");
    WriteFileBytes(dir / "ignored.txt", "ignored");
    WriteContextMenu(listed);

    RunWithPassword({"/e", "zotshell", dir / "ignored.txt"}, Secret);
    EXPECT_EQ(ReadContextMenu(), "");
    EXPECT_EQ(Names(dir.Folder()), (std::vector<std::string>{"0.zot!", "ignored.txt"}));
}

TEST_F(CluTest, StoredSettingsNameTheOutputAndDeleteTheOriginal) {
    WriteBoolSetting("EncryptName", false);
    WriteBoolSetting("AppendExtension", true);
    WriteBoolSetting("DeleteOriginal", true);
    WriteBoolSetting("FastWipe", true);
    WriteIntegerSetting("HexValue", 0);
    WriteIntegerSetting("WipeCount", 1);
    WriteFileBytes(dir / "report.txt", "data");

    auto window = RunWithPassword({"/e", dir / "report.txt"}, Secret);
    EXPECT_FALSE(window->Options().EncryptName);
    EXPECT_TRUE(window->Options().DeleteOriginal);
    EXPECT_EQ(Names(dir.Folder()), std::vector<std::string>{"report.txt.zot!"});
}

TEST_F(CluTest, WipeRunsOnceTheWindowShowsAndRemovesTheFiles) {
    std::filesystem::create_directory(dir.Path() / "other");
    WriteFileBytes(dir / "a.bin", PatternBytes(20000));
    WriteFileBytes(dir / "other/b.bin", PatternBytes(3));
    messages->QueueAnswer(MessageAnswer::Yes);

    auto window = Create({"/w", dir / "a.bin", dir / "other/b.bin"});
    ASSERT_TRUE(window->ShowMainForm());
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].kind, MessageKind::Warning);
    EXPECT_EQ(messages->shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(CurrentPage(*window), QStringLiteral("Progress"));
    EXPECT_EQ(Label(*window, "lOverall")->text(), QStringLiteral("1of1"));
    EXPECT_FALSE(window->Running()) << "the wipe waits for the window";

    window->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Ended(); }, 10000));
    EXPECT_EQ(messages->shown.size(), 1u);
    EXPECT_TRUE(Names(dir.Folder()) == std::vector<std::string>{"other"});
    EXPECT_TRUE(Names(dir / "other").empty());
    EXPECT_EQ(Label(*window, "lType")->text(), QStringLiteral("Wiping:"));
    EXPECT_EQ(Label(*window, "lOverall")->text(), QStringLiteral("2 of 2"));
    EXPECT_FALSE(Label(*window, "lNew")->isVisible());
}

// Escape, Enter and the Cancel button on the Progress page stop the run.
enum class CancelBy { Escape, Enter, Button };

// Names the case in test names.
void PrintTo(CancelBy by, std::ostream* out) {
    switch (by) {
    case CancelBy::Escape:
        *out << "Escape";
        return;
    case CancelBy::Enter:
        *out << "Enter";
        return;
    case CancelBy::Button:
        *out << "Button";
        return;
    }
}

class CancelTest : public CluTest, public testing::WithParamInterface<CancelBy> {};

TEST_P(CancelTest, StopsTheRunAndRemovesThePartialOutput) {
    const std::vector<std::string> files{dir / "a.bin", dir / "b.bin"};
    for (const auto& file : files) {
        WriteFileBytes(file, PatternBytes(4 << 20));
    }
    auto window = Create({"/e", files[0], files[1]});
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));

    // Pressed as soon as the first file's data is being encrypted.
    QTimer watch;
    bool pressed = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (pressed || Bar(*window, "pbCurrent")->value() == 0) {
            return;
        }
        pressed = true;
        switch (GetParam()) {
        case CancelBy::Escape:
            QTest::keyClick(Button(*window, "Button1"), Qt::Key_Escape);
            break;
        case CancelBy::Enter:
            QTest::keyClick(Button(*window, "Button1"), Qt::Key_Return);
            break;
        case CancelBy::Button:
            QTest::mouseClick(Button(*window, "Button1"), Qt::LeftButton);
            break;
        }
    });
    watch.start(0);
    TypeText(Edit(*window, "ePassword"), Secret);
    TypeText(Edit(*window, "eConfirm"), Secret);
    QTest::keyClick(Edit(*window, "eConfirm"), Qt::Key_Return);

    EXPECT_TRUE(pressed);
    EXPECT_TRUE(window->Ended());
    EXPECT_TRUE(window->CancelRequested());
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(Names(dir.Folder()), (std::vector<std::string>{"a.bin", "b.bin"}));
    EXPECT_EQ(ReadFileBytes(files[0]), PatternBytes(4 << 20));
    EXPECT_EQ(Label(*window, "lOverall")->text(), QStringLiteral("1 of 2"));
}

INSTANTIATE_TEST_SUITE_P(Keys, CancelTest,
                         testing::Values(CancelBy::Escape, CancelBy::Enter, CancelBy::Button));

TEST_F(CluTest, CancelDuringTheOriginalsWipeKeepsTheCompleteContainer) {
    const std::string original = PatternBytes(4 << 20);
    WriteFileBytes(dir / "big.bin", original);
    WriteBoolSetting("EncryptName", true);
    WriteBoolSetting("AppendExtension", false);
    WriteBoolSetting("DeleteOriginal", false);
    WriteBoolSetting("FastWipe", false);
    WriteIntegerSetting("HexValue", 0x55);
    WriteIntegerSetting("WipeCount", 3);

    auto window = Create({"/e", dir / "big.bin"});
    window->show();
    QTimer watch;
    bool pressed = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!pressed && Label(*window, "lType")->text() == QStringLiteral("Wiping:") &&
            Bar(*window, "pbCurrent")->value() > 0) {
            pressed = true;
            QTest::keyClick(window.get(), Qt::Key_Escape);
        }
    });
    watch.start(0);
    TypeText(Edit(*window, "ePassword"), Secret);
    TypeText(Edit(*window, "eConfirm"), Secret);
    QTest::mouseClick(Button(*window, "bOK"), Qt::LeftButton);
    window.reset();

    EXPECT_TRUE(pressed);
    EXPECT_TRUE(messages->shown.empty());
    // The original stays under its name, partly overwritten; the container is whole.
    EXPECT_EQ(Names(dir.Folder()), (std::vector<std::string>{"0.zot!", "big.bin"}));
    std::filesystem::rename(dir / "big.bin", dir / "partly wiped.bin");
    RunWithPassword({"/d", dir / "0.zot!"}, Secret);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(ReadFileBytes(dir / "big.bin"), original);
}

TEST_F(CluTest, CloseBoxDuringALoopLetsItFinish) {
    const std::vector<std::string> files{dir / "a.bin", dir / "b.bin"};
    for (const auto& file : files) {
        WriteFileBytes(file, PatternBytes(1 << 20));
    }
    auto window = Create({"/e", files[0], files[1]});
    window->show();
    QTimer watch;
    bool refused = false;
    bool tried = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!tried && window->Running()) {
            tried = true;
            refused = !window->close();
        }
    });
    watch.start(0);
    TypeText(Edit(*window, "ePassword"), Secret);
    TypeText(Edit(*window, "eConfirm"), Secret);
    QTest::mouseClick(Button(*window, "bOK"), Qt::LeftButton);

    EXPECT_TRUE(tried);
    EXPECT_TRUE(refused);
    EXPECT_TRUE(window->Ended());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Names(dir.Folder()), (std::vector<std::string>{"0.zot!", "1.zot!"}));
}

TEST_F(CluTest, CloseBoxBeforeTheWipeStartsEndsWithTheFileKept) {
    WriteFileBytes(dir / "a.txt", "kept");
    messages->QueueAnswer(MessageAnswer::Yes);
    auto window = Create({"/w", dir / "a.txt"});
    window->show();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(window->Ended());
    QTest::qWait(TKVBRunOnce::ExposeTimeout + 200);
    EXPECT_FALSE(window->Running());
    EXPECT_EQ(Label(*window, "lOverall")->text(), QStringLiteral("1of1"));
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "kept");
}

TEST_F(CluTest, CancelBeforeTheWipeStartsWipesNothing) {
    WriteFileBytes(dir / "a.txt", "kept");
    messages->QueueAnswer(MessageAnswer::Yes);
    auto window = Create({"/w", dir / "a.txt"});
    window->show();
    QTest::keyClick(Button(*window, "Button1"), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Ended(); }, 10000));
    EXPECT_EQ(Label(*window, "lOverall")->text(), QStringLiteral("1of1"));
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "kept");
}

TEST_F(CluTest, RealMessageBoxesDuringALoopStayUsable) {
    WriteBoolSetting("EncryptName", false);
    WriteBoolSetting("AppendExtension", true);
    WriteBoolSetting("DeleteOriginal", true);
    WriteBoolSetting("FastWipe", true);
    WriteIntegerSetting("HexValue", 0);
    WriteIntegerSetting("WipeCount", 1);
    WriteFileBytes(dir / "a.txt", "new contents");
    WriteFileBytes(dir / "a.txt.zot!", "an older file in the way");

    // The name clash: no new name, then overwrite.
    std::vector<QString> texts;
    QTimer butler;
    QObject::connect(&butler, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || !box->isEnabled()) {
            return;
        }
        texts.push_back(box->text());
        box->button(texts.size() == 1 ? QMessageBox::No : QMessageBox::Yes)->click();
    });
    butler.start(20);
    auto scripted = InstallMessageService(std::make_unique<QtMessageService>());
    auto window = RunWithPassword({"/e", dir / "a.txt"}, Secret);
    InstallMessageService(std::move(scripted));
    window.reset();

    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("After encryption, the resulting file")));
    EXPECT_EQ(texts[1], QStringLiteral("Overwrite the existing file?"));
    EXPECT_EQ(Names(dir.Folder()), std::vector<std::string>{"a.txt.zot!"});
    RunWithPassword({"/d", dir / "a.txt.zot!"}, Secret);
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "new contents");
}

} // namespace
} // namespace quarn::clu::test

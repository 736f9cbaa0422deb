// The desktop road: browse to a folder, select files, encrypt, decrypt and wipe them.
#include "MainWindowFixture.h"
#include "app/StatusBar.h"
#include "namespace/ShellConstants.h"
#include "platform/QuarnRegistryKey.h"
#include "platform/Registry.h"
#include "platform/gui/QtMessageService.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/list/ShellList.h"
#include "shell/list/ShellListData.h"
#include "shell/tree/ShellTree.h"
#include "shell/tree/ShellTreeData.h"

#include <QAbstractItemView>
#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <set>

namespace quarn::test {
namespace {

constexpr char RawName[] = "r\xE9sum\xE9.txt"; // not UTF-8

class Commands : public MainWindowTest {
protected:
    // The test's folder holds what the list shows and what it leaves out.
    void MakeFixture() {
        WriteFileBytes(dir / "plain.txt", PatternBytes(5000, 1));
        WriteFileBytes(dir / "with space.txt", PatternBytes(4096, 2));
        WriteFileBytes(dir / RawName, PatternBytes(10, 3));
        WriteFileBytes(dir / "a::b.txt", PatternBytes(70000, 4));
        WriteFileBytes(dir / "archive.ZIP", PatternBytes(300, 5));
        std::filesystem::create_directory(dir / "sub");
        WriteFileBytes(dir / "sub/inner.txt", "inner");
        std::filesystem::create_symlink("plain.txt", dir / "link.txt");
    }

    static const std::set<std::string>& ListedNames() {
        static const std::set<std::string> names = {"plain.txt", "with space.txt", RawName,
                                                    "a::b.txt", "archive.ZIP"};
        return names;
    }

    QWidget* ListView() const { return List().View(); }

    std::set<std::string> DisplayNames() const {
        std::set<std::string> names;
        for (int item = 0; item < List().Count(); ++item) {
            names.insert(List().GetItemData(item)->GetDisplayName());
        }
        return names;
    }

    void Select(const std::set<std::string>& names) {
        for (int item = 0; item < List().Count(); ++item) {
            List().SetSelected(item, names.count(List().GetItemData(item)->GetDisplayName()) > 0);
        }
    }

    // A key in the list, once the main window is active again: a shortcut acts only in the
    // active window.
    void Press(int key) {
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return QApplication::activeWindow() == &Main(); }, WaitMs));
        const QKeyCombination combination = QKeyCombination::fromCombined(key);
        QTest::keyClick(ListView(), combination.key(), combination.keyboardModifiers());
    }

    // What the folder's files hold, by name; folders and links by a mark. Compared with
    // SameContents, which names what differs instead of printing the bytes.
    static std::map<std::string, std::string> Contents(const std::string& folder) {
        std::map<std::string, std::string> contents;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            contents[name] = entry.is_symlink()     ? "<link>"
                             : entry.is_directory() ? "<folder>"
                                                    : ReadFileBytes(entry.path().string());
        }
        return contents;
    }
};

testing::AssertionResult SameContents(const std::map<std::string, std::string>& actual,
                                      const std::map<std::string, std::string>& expected) {
    std::string differences;
    for (const auto& [name, bytes] : expected) {
        const auto found = actual.find(name);
        if (found == actual.end()) {
            differences += " missing '" + name + "'";
        } else if (found->second != bytes) {
            differences += " changed '" + name + "'";
        }
    }
    for (const auto& [name, bytes] : actual) {
        if (expected.count(name) == 0) {
            differences += " extra '" + name + "'";
        }
    }
    if (differences.empty()) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << differences;
}

TEST_F(Commands, TreeAndListShowTheFolder) {
    MakeFixture();
    StartIn(dir.Folder());
    EXPECT_EQ(DisplayNames(), ListedNames());
    EXPECT_EQ(Tree().GetSelectedPath() + "/", dir.Folder());
    // The tree shows the subfolder below the selected node, and never the Trash.
    TSCShellTreeNode* selected = Tree().Selected();
    Tree().Expand(selected);
    std::vector<std::string> children;
    for (int i = 0; i < selected->Count(); ++i) {
        children.push_back(selected->Item(i)->Text());
    }
    EXPECT_EQ(children, std::vector<std::string>{"sub"});
    std::vector<std::string> top;
    for (int i = 0; i < Tree().RootNode()->Count(); ++i) {
        top.push_back(Tree().RootNode()->Item(i)->Text());
    }
    EXPECT_EQ(top, (std::vector<std::string>{"Home", "Computer"}));
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(Commands, EncryptThenDecryptRestoresEveryFileByteForByte) {
    MakeFixture();
    const auto before = Contents(dir.Path());
    StartIn(dir.Folder());
    Press(QKeyCombination(Qt::ControlModifier, Qt::Key_A).toCombined());
    EXPECT_EQ(List().SelCount(), 5);
    AnswerPassword("correct horse");
    Press(Qt::Key_F9);
    EXPECT_EQ(List().SelCount(), 0) << "the selection is used up";
    auto encrypted = Contents(dir.Path());
    std::set<std::string> names;
    for (const auto& [name, bytes] : encrypted) {
        names.insert(name);
    }
    EXPECT_EQ(names, (std::set<std::string>{"0.zot!", "1.zot!", "2.zot!", "3.zot!", "4.zot!",
                                            "link.txt", "sub"}));
    EXPECT_EQ(encrypted["link.txt"], "<link>");
    EXPECT_EQ(ReadFileBytes(dir / "sub/inner.txt"), "inner");
    EXPECT_EQ(DisplayNames(),
              (std::set<std::string>{"0.zot!", "1.zot!", "2.zot!", "3.zot!", "4.zot!"}))
        << "the list is refreshed";

    Press(QKeyCombination(Qt::ControlModifier, Qt::Key_A).toCombined());
    AnswerPassword("correct horse");
    Press(Qt::Key_F10);
    EXPECT_TRUE(SameContents(Contents(dir.Path()), before));
    EXPECT_EQ(messages->Texts(), std::vector<std::string>());
    EXPECT_FALSE(fProgress->isVisible());
    EXPECT_TRUE(Main().isEnabled());
    EXPECT_EQ(Child<QLabel>("iReady")->accessibleDescription(), QStringLiteral("green"));
}

TEST_F(Commands, WipeAsksFirst) {
    MakeFixture();
    StartIn(dir.Folder());
    Select({"plain.txt", "with space.txt"});
    Press(Qt::Key_Delete); // answered No
    EXPECT_TRUE(PathExists(dir / "plain.txt"));
    EXPECT_EQ(List().SelCount(), 0);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text.rfind("Wiping a file will permanently overwrite", 0), 0u);
    EXPECT_EQ(messages->shown[0].buttons, MessageButtons::YesNo);

    Select({"plain.txt", "with space.txt"});
    messages->QueueAnswer(MessageAnswer::Yes);
    Press(Qt::Key_Delete);
    EXPECT_FALSE(PathExists(dir / "plain.txt"));
    EXPECT_FALSE(PathExists(dir / "with space.txt"));
    EXPECT_EQ(Contents(dir.Path()).size(), 5u) << "nothing else changes, no GUID name is left";
    // The refresh at the end counts the files again.
    EXPECT_EQ(Child<TStatusBar>("StatusBar")->PanelText(0), QStringLiteral("3 files"));
}

TEST_F(Commands, TheCommandsTakeTheSelectionInEveryViewStyle) {
    MakeFixture();
    StartIn(dir.Folder());
    for (const auto& [style, name] : std::vector<std::pair<TViewStyle, std::string>>{
             {TViewStyle::vsIcon, "plain.txt"},
             {TViewStyle::vsSmallIcon, "with space.txt"},
             {TViewStyle::vsList, RawName},
             {TViewStyle::vsReport, "a::b.txt"}}) {
        List().SetViewStyle(style);
        Select({name});
        messages->QueueAnswer(MessageAnswer::Yes);
        Press(Qt::Key_Delete);
        EXPECT_FALSE(PathExists(dir / name)) << name;
        EXPECT_EQ(DisplayNames().count(name), 0u) << name;
    }
    EXPECT_EQ(DisplayNames(), std::set<std::string>{"archive.ZIP"});
}

TEST_F(Commands, NoSelectionNoPasswordDialog) {
    MakeFixture();
    StartIn(dir.Folder());
    for (const auto& [key, verb] : std::vector<std::pair<int, const char*>>{
             {Qt::Key_F9, "encrypt"}, {Qt::Key_F10, "decrypt"}, {Qt::Key_Delete, "wipe"}}) {
        messages->shown.clear();
        Press(key);
        ASSERT_EQ(messages->shown.size(), 1u);
        EXPECT_EQ(messages->shown[0].text,
                  std::string("You must first select the files you wish to ") + verb + ".");
        EXPECT_EQ(messages->shown[0].kind, MessageKind::Information);
    }
    EXPECT_EQ(Contents(dir.Path()).size(), 7u);
}

TEST_F(Commands, SessionPasswordIsReusedWithoutTheDialog) {
    MakeFixture();
    StartIn(dir.Folder());
    Select({"plain.txt"});
    AnswerPassword("session password", true);
    Press(Qt::Key_F9);
    ASSERT_TRUE(Main().ReusePassword);
    bool asked = false;
    WhenModal([&](QWidget& window) {
        asked = true;
        window.close();
    });
    Select({"0.zot!", "with space.txt"});
    Press(Qt::Key_F10); // only the .zot! file is taken
    EXPECT_FALSE(asked);
    EXPECT_EQ(ReadFileBytes(dir / "plain.txt"), PatternBytes(5000, 1));
    EXPECT_EQ(ReadFileBytes(dir / "with space.txt"), PatternBytes(4096, 2));
}

TEST_F(Commands, TheFilesComeFromTheFolderTheyWereSelectedIn) {
    const TempDir other;
    WriteFileBytes(dir / "same.txt", "first folder");
    WriteFileBytes(other / "same.txt", "second folder");
    StartIn(dir.Folder());
    Select({"same.txt"});
    // While the password is asked, the tree moves to the other folder and the list follows.
    WhenModal([&](QWidget& dialog) {
        Tree().GoToPath(other.Path().string());
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return DisplayNames() == std::set<std::string>{"same.txt"} &&
                       List().Folder().GetPath() == other.Path().string();
            },
            WaitMs));
        EXPECT_EQ(Main().CurrentFolder, dir.Folder()) << "kept while the command runs";
        auto* ePassword = FormChild<QWidget>(&dialog, "ePassword");
        TypeText(ePassword, "password");
        TypeText(FormChild<QWidget>(&dialog, "eConfirm"), "password");
        QTest::mouseClick(FormChild<QPushButton>(&dialog, "bOK"), Qt::LeftButton);
    });
    Press(Qt::Key_F9);
    EXPECT_FALSE(PathExists(dir / "same.txt"));
    EXPECT_TRUE(PathExists(dir / "0.zot!"));
    EXPECT_EQ(ReadFileBytes(other / "same.txt"), "second folder");
    EXPECT_FALSE(PathExists(other / "0.zot!"));
    EXPECT_EQ(Main().CurrentFolder, other.Folder()) << "the list's folder after the command";
}

TEST_F(Commands, AFolderWithoutAPathHasNoFilesToTake) {
    MakeFixture();
    StartIn(dir.Folder());
    Select({"plain.txt"});
    LPITEMIDLIST computer = nullptr;
    ASSERT_EQ(GetSpecialFolderPidl(nullptr, CSIDL_DRIVES, computer), S_OK);
    const PidlPtr owned(computer);
    Tree().SelectPidl(computer);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Main().CurrentFolder.empty(); }, WaitMs));
    List().SelectAllItems();
    Press(Qt::Key_Delete);
    ASSERT_EQ(messages->Texts(),
              std::vector<std::string>{"You must first select the files you wish to wipe."});
    EXPECT_TRUE(PathExists(dir / "plain.txt"));
}

TEST_F(Commands, CancelDuringALargeFileKeepsTheSource) {
    const std::string big = PatternBytes(8 << 20, 9);
    WriteFileBytes(dir / "big.bin", big);
    StartIn(dir.Folder());
    Select({"big.bin"});
    AnswerPassword("password");
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (fProgress->isVisible() &&
            FormChild<QProgressBar>(fProgress, "ProgressBar")->value() > 0) {
            cancel.stop();
            QTest::mouseClick(FormChild<QPushButton>(fProgress, "bCancel"), Qt::LeftButton);
        }
    });
    cancel.start(1);
    Press(Qt::Key_F9);
    EXPECT_TRUE(Main().CancelRequested());
    EXPECT_EQ(ReadFileBytes(dir / "big.bin"), big);
    EXPECT_EQ(Contents(dir.Path()).size(), 1u) << "no partial output";
    EXPECT_FALSE(fProgress->isVisible());
    EXPECT_TRUE(messages->shown.empty());
}

// Another program saves a new version under the name while the file is encrypted: the new
// version stays (the container holds the old one), and the message says why it was not wiped.
TEST_F(Commands, AVersionSavedDuringTheEncryptionIsKept) {
    WriteFileBytes(dir / "report.txt", PatternBytes(2 << 20, 7));
    StartIn(dir.Folder());
    Select({"report.txt"});
    AnswerPassword("password");
    bool saved = false;
    QObject::connect(FormChild<QProgressBar>(fProgress, "ProgressBar"), &QProgressBar::valueChanged,
                     [&](int value) {
                         if (!saved && value > 0 &&
                             FormChild<QLabel>(fProgress, "lType")->text() == "Encrypting:") {
                             saved = true;
                             WriteFileBytes(dir / "saving", "the new version");
                             std::filesystem::rename(dir / "saving", dir / "report.txt");
                         }
                     });
    Press(Qt::Key_F9);
    ASSERT_TRUE(saved);
    EXPECT_EQ(ReadFileBytes(dir / "report.txt"), "the new version");
    EXPECT_TRUE(std::filesystem::exists(dir / "0.zot!"));
    EXPECT_EQ(messages->Texts(),
              std::vector<std::string>{"Unable to wipe file 'report.txt': It changed while it "
                                       "was being encrypted and was left as it is."});
}

TEST_F(Commands, MessageBoxesDuringTheCommandStayUsable) {
    Settings settings;
    settings.Engine.EncryptName = false;
    WriteSettings(settings);
    WriteFileBytes(dir / "report.txt", "report");
    WriteFileBytes(dir / "report.zot!", "taken");
    StartIn(dir.Folder());
    Select({"report.txt"});
    Main().SessionPassword = "password";
    Main().ReusePassword = true;
    auto scripted = InstallMessageService(std::make_unique<QtMessageService>());
    std::vector<std::string> seen;
    // Three real boxes: the clash question, "Overwrite the existing file?", "Skipping ...".
    std::function<void(QWidget&)> answer = [&](QWidget& window) {
        auto* box = qobject_cast<QMessageBox*>(&window);
        ASSERT_NE(box, nullptr);
        seen.push_back(box->text().toStdString());
        EXPECT_TRUE(box->isEnabled());
        EXPECT_FALSE(Main().isEnabled()) << "the main window is disabled meanwhile";
        QAbstractButton* button = box->button(QMessageBox::No) != nullptr
                                      ? box->button(QMessageBox::No)
                                      : box->button(QMessageBox::Ok);
        EXPECT_TRUE(button->isEnabled());
        if (seen.size() < 3) {
            WhenModal(answer);
        }
        QTest::mouseClick(button, Qt::LeftButton);
    };
    WhenModal(answer);
    Press(Qt::Key_F9);
    InstallMessageService(std::move(scripted));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1], "Overwrite the existing file?");
    EXPECT_EQ(seen[2], "Skipping file 'report.txt'.");
    EXPECT_EQ(ReadFileBytes(dir / "report.txt"), "report");
    EXPECT_EQ(ReadFileBytes(dir / "report.zot!"), "taken");
}

TEST_F(Commands, MinimizedDuringAWipeTheDialogWaitsForTheRestore) {
    WriteFileBytes(dir / "big.bin", PatternBytes(8 << 20, 9));
    StartIn(dir.Folder());
    Select({"big.bin"});
    messages->QueueAnswer(MessageAnswer::Yes);
    QTimer minimize;
    QObject::connect(&minimize, &QTimer::timeout, [&] {
        if (fProgress->isVisible()) {
            minimize.stop();
            fProgress->showMinimized();
        }
    });
    minimize.start(1);
    Press(Qt::Key_Delete);
    EXPECT_FALSE(PathExists(dir / "big.bin"));
    EXPECT_TRUE(Main().EndBusyPending);
    EXPECT_TRUE(fProgress->isVisible());
    EXPECT_FALSE(Main().isEnabled());
    Main().showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fProgress->isVisible(); }, WaitMs));
    EXPECT_TRUE(Main().isEnabled());
    EXPECT_FALSE(Main().EndBusyPending);
}

TEST_F(Commands, SelectAllAndInvertSelection) {
    MakeFixture();
    StartIn(dir.Folder());
    Select({"plain.txt"});
    Child<QAction>("InvertSelection1")->trigger();
    std::set<std::string> selected;
    for (const std::string& name : List().SelectedDisplayNames()) {
        selected.insert(name);
    }
    EXPECT_EQ(selected.count("plain.txt"), 0u);
    EXPECT_EQ(selected.size(), 4u);
    QTest::mouseClick(Child<QToolButton>("tbSelectAll"), Qt::LeftButton);
    EXPECT_EQ(List().SelCount(), 5);
}

TEST_F(Commands, UpGoesToTheFolderAboveAndStopsAtTheTop) {
    std::filesystem::create_directory(dir / "inner");
    StartIn(dir.Folder() + "inner/");
    QTest::mouseClick(Child<QToolButton>("tbUp"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Main().CurrentFolder == dir.Folder(); }, WaitMs))
        << Main().CurrentFolder;
    Tree().Select(Tree().RootNode());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Main().CurrentFolder.empty(); }, WaitMs))
        << "window: " << Main().CurrentFolder << ", list: " << List().Folder().GetPath()
        << ", tree: " << Tree().GetSelectedPath();
    QTest::mouseClick(Child<QToolButton>("tbUp"), Qt::LeftButton);
    EXPECT_EQ(Tree().Selected(), Tree().RootNode());
}

TEST_F(Commands, TabMovesBetweenTreeAndList) {
    MakeFixture();
    StartIn(dir.Folder());
    Main().activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &Main(); }, WaitMs));
    Tree().setFocus();
    QTest::keyClick(&Tree(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ListView());
    QTest::keyClick(ListView(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), &Tree());
}

TEST_F(Commands, ClosingDuringACommandWaitsForItsEnd) {
    WriteFileBytes(dir / "big.bin", PatternBytes(8 << 20, 9));
    StartIn(dir.Folder());
    Select({"big.bin"});
    messages->QueueAnswer(MessageAnswer::Yes);
    bool closed = false;
    bool closedDuringCommand = false;
    QObject::connect(&Main(), &TfMain::Closed, [&] {
        closed = true;
        closedDuringCommand = fProgress->isVisible();
    });
    QTimer close;
    QObject::connect(&close, &QTimer::timeout, [&] {
        if (fProgress->isVisible()) {
            close.stop();
            Main().close();
        }
    });
    close.start(1);
    Press(Qt::Key_Delete);
    EXPECT_FALSE(PathExists(dir / "big.bin")) << "the wipe ran to its end";
    EXPECT_FALSE(closed) << "not yet";
    EXPECT_TRUE(QTest::qWaitFor([&] { return closed; }, WaitMs));
    EXPECT_FALSE(closedDuringCommand);
}

TEST_F(Commands, ClosingRemembersTheFolderWhenAskedTo) {
    Settings settings;
    settings.Startup = 1;
    WriteSettings(settings);
    StartIn(dir.Folder());
    Main().close();
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(QuarnRegistryKey, false));
    EXPECT_EQ(registry.ReadString("StartupFolder"), dir.Folder());
}

} // namespace
} // namespace quarn::test

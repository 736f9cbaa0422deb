// The main window as a user meets it: caption, size, menus, tool bar, help and start-up.
#include "FakeOpener.h"
#include "MainWindowFixture.h"
#include "app/About.h"
#include "help/HelpApi.h"
#include "help/HelpFuncs.h"
#include "platform/ProgramFile.h"
#include "platform/Registry.h"
#include "platform/gui/DesignScale.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <climits>
#include <filesystem>
#include <unistd.h>

namespace quarn::test {
namespace {

std::string ReadDefaultValue(RegistryRoot root, const std::string& key, const char* name = "") {
    TRegistry registry(root);
    if (!registry.OpenKeyReadOnly(key)) {
        return "<no key>";
    }
    return registry.ReadString(name);
}

std::string RealProgramPath() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    return std::string(path, static_cast<std::size_t>(std::max<ssize_t>(length, 0)));
}

TEST_F(MainWindowTest, StartsAsTheProgramMakesIt) {
    Start();
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("Quarn!"));
    const DesignScale px = DesignScale::Of(Main());
    EXPECT_EQ(Main().width(), px(TfMain::ClientSize).width());
    EXPECT_EQ(Main().height() - Main().menuBar()->height(), px(TfMain::ClientSize).height());
    EXPECT_EQ(fMain, &Main());
    EXPECT_EQ(fNewPass, newPass_.get());
    EXPECT_EQ(fProgress, progress_.get());
    EXPECT_FALSE(fNewPass->isVisible());
    EXPECT_FALSE(fProgress->isVisible());
    EXPECT_EQ(Child<QWidget>("pContainer")->width(), px(158));
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(MainWindowTest, RegistersTheFileTypeWithTheRunningProgramFile) {
    Start();
    const std::string program = RealProgramPath();
    ASSERT_EQ(ProgramFilePath(), program);
    EXPECT_EQ(ReadDefaultValue(RegistryRoot::ClassesRoot, ".zot!"), "Quarn!");
    EXPECT_EQ(ReadDefaultValue(RegistryRoot::ClassesRoot, "Quarn!"), "Quarn! Encrypted File");
    EXPECT_EQ(ReadDefaultValue(RegistryRoot::ClassesRoot, "Quarn!\\DefaultIcon"), program + ",0");
    EXPECT_EQ(ReadDefaultValue(RegistryRoot::ClassesRoot, "Quarn!\\Shell\\Open\\Command"),
              "\"" + program + "\" \"%1\"");
    EXPECT_EQ(ReadDefaultValue(RegistryRoot::LocalMachine, "SOFTWARE\\Ostrel\\Quarn!", "Path"),
              program.substr(0, program.rfind('/')));
}

struct MenuItem {
    const char* name;
    const char* caption;
    const char* shortcut;
};

TEST_F(MainWindowTest, MenusWithTheirCaptionsAndShortcuts) {
    Start();
    const MenuItem items[] = {
        {"Exit1", "E&xit", ""},
        {"SelectAll1", "Select All", "Ctrl+A"},
        {"InvertSelection1", "Invert Selection", ""},
        {"Encrypt1", "Encrypt", "F9"},
        {"Decrypt1", "Decrypt", "F10"},
        {"Wipe1", "Wipe", "Del"},
        {"SessionPassword1", "Session Password", ""},
        {"Options1", "Options...", ""},
        {"Tiles1", "Tiles", ""},
        {"Icons1", "Icons", ""},
        {"List1", "List", ""},
        {"Details1", "Details", ""},
        {"Refresh1", "Refresh", "Ctrl+R"},
        {"ManageFavorites1", "Manage Favorites...", "Ctrl+F"},
        {"AddToFavorites1", "Add to Favorites", "Ctrl+D"},
        {"HelpContentsandIndex1", "Help Contents and Index", "F1"},
        {"LicenseAgreement1", "License Agreement", ""},
        {"QuarnHomePage1", "Quarn! Home Page", ""},
        {"OnlineSupport1", "Online Support", ""},
        {"About1", "About Quarn!...", ""},
    };
    for (const MenuItem& item : items) {
        SCOPED_TRACE(item.name);
        const QAction* action = Child<QAction>(item.name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), QString::fromUtf8(item.caption));
        EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(item.shortcut)));
        EXPECT_TRUE(action->isEnabled());
    }
    EXPECT_TRUE(Child<QAction>("Details1")->isChecked());
    EXPECT_TRUE(Child<QAction>("pmDetails1")->isChecked());
    QStringList titles;
    for (const QAction* menu : Main().menuBar()->actions()) {
        titles << menu->text();
    }
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&View", "F&avorites", "&Help"}));
}

TEST_F(MainWindowTest, ToolButtonsShowPicturesAndTellTheirHints) {
    Start();
    const std::pair<const char*, const char*> buttons[] = {
        {"tbUp", "Up"},
        {"tbFavorites", "Favorites"},
        {"tbRefresh", "Refresh views"},
        {"tbSelectAll", "Select all files"},
        {"tbEncrypt", "Encrypt selected files"},
        {"tbDecrypt", "Decrypt selected files"},
        {"tbWipe", "Wipe selected files"},
        {"tbView", "Views"},
    };
    for (const auto& [name, hint] : buttons) {
        SCOPED_TRACE(name);
        const QToolButton* button = Child<QToolButton>(name);
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(hint));
        EXPECT_EQ(button->accessibleName(), QString::fromUtf8(hint));
        EXPECT_EQ(button->iconSize(), QSize(23, 23));
        EXPECT_FALSE(button->icon().pixmap(23, 23).isNull());
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
    }
    EXPECT_EQ(Child<QToolButton>("tbEncrypt")->size(), QSize(30, 29));
    EXPECT_TRUE(Child<QToolButton>("tbFavorites")->isEnabled());
    EXPECT_TRUE(Child<QToolButton>("tbView")->isEnabled());
}

TEST_F(MainWindowTest, EveryHelpCommandOpensItsTopic) {
    ASSERT_TRUE(RegisterHtmlHelpControl(QUARN_HTMLHELP_PATH));
    BindHtmlHelp();
    Start();
    SetApplicationHelpFile(QUARN_HELP_FILE_PATH);
    const auto shownTopic = [] {
        QStringList titles;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->windowTitle().startsWith("Quarn! Help - ")) {
                titles << window->windowTitle().mid(14);
            }
        }
        CloseAllHelpWindows();
        return titles.join('|');
    };
    Child<QAction>("HelpContentsandIndex1")->trigger();
    EXPECT_EQ(shownTopic(), QStringLiteral("Welcome to Quarn!"));
    Child<QAction>("LicenseAgreement1")->trigger();
    EXPECT_EQ(shownTopic(), QStringLiteral("License Agreement"));
    // F1 in the dialogs: their key preview sees it on key-up.
    WhenModal([](QWidget& dialog) {
        QTest::keyClick(FormChild<QWidget>(&dialog, "ePassword"), Qt::Key_F1);
        FormChild<QPushButton>(&dialog, "bCancel")->click();
    });
    fNewPass->exec();
    EXPECT_EQ(shownTopic(), QStringLiteral("The Password window"));
    Main().BeginBusy();
    QTest::keyClick(FormChild<QWidget>(fProgress, "bCancel"), Qt::Key_F1);
    Main().EndBusy();
    EXPECT_EQ(shownTopic(), QStringLiteral("Welcome to Quarn!"));
    EXPECT_TRUE(messages->shown.empty());
    Stop();
    ReleaseHtmlHelp();
    SetApplicationHelpFile({});
}

// The manual's page of the window, as the help window shows it, tells of every menu command
// and of the status bar's size options.
TEST_F(MainWindowTest, TheManualsWindowPageDescribesEveryMenuCommand) {
    ASSERT_TRUE(RegisterHtmlHelpControl(QUARN_HTMLHELP_PATH));
    BindHtmlHelp();
    Start();
    SetApplicationHelpFile(QUARN_HELP_FILE_PATH);
    ASSERT_TRUE(ShowHelpTopic("main_window"));
    QString page;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle() == "Quarn! Help - The Quarn! window") {
            page = window->findChild<QTextBrowser*>()->toPlainText();
        }
    }
    ASSERT_FALSE(page.isEmpty());
    for (const QAction* menu : Main().menuBar()->actions()) {
        for (const QAction* item : menu->menu()->actions()) {
            const QString caption = QString(item->text()).remove('&').remove("...");
            EXPECT_TRUE(item->isSeparator() || page.contains(caption)) << caption.toStdString();
        }
    }
    for (const char* option :
         {"Display folder size in Status Bar", "Display selected file size in Status Bar"}) {
        EXPECT_TRUE(page.contains(option)) << option;
    }
    CloseAllHelpWindows();
    Stop();
    ReleaseHtmlHelp();
    SetApplicationHelpFile({});
}

TEST_F(MainWindowTest, WebPagesOpenInTheBrowser) {
    Start();
    FakeOpener browser(0);
    for (const char* item : {"QuarnHomePage1", "OnlineSupport1"}) {
        Child<QAction>(item)->trigger();
        ASSERT_TRUE(FakeOpener::WaitUntilEnded());
    }
    EXPECT_EQ(browser.Opened(),
              (std::vector<std::string>{"https://quarn.ostrel.example/",
                                        "https://quarn.ostrel.example/support/"}));
    EXPECT_TRUE(messages->shown.empty());
}

// The desktop's opener starts, the window goes on, and the opener then finds no browser.
TEST_F(MainWindowTest, AWebPageWithoutABrowserTellsTheAddress) {
    Start();
    FakeOpener noBrowser(3);
    noBrowser.Hold();
    Child<QAction>("OnlineSupport1")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return noBrowser.Opened().size() == 1; }, WaitMs));
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages->shown.empty()) << "the opener still runs";
    noBrowser.Release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages->shown.empty(); }, WaitMs));
    EXPECT_EQ(messages->Texts(),
              std::vector<std::string>{"Unable to launch web browser: There is no default "
                                       "application associated with web browsing on your "
                                       "computer.\r\n\r\nPlease visit: "
                                       "https://quarn.ostrel.example/support/"});
    EXPECT_EQ(messages->shown[0].kind, MessageKind::Information);
}

// The version comes from the running program's file, not from argument 0: it is the same
// however Quarn was started and wherever the working folder is.
TEST_F(MainWindowTest, AboutBoxBelongsToTheMainWindowAndShowsTheBuiltVersion) {
    Start();
    const std::filesystem::path working = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    WhenModal([](QWidget& box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("About Quarn!"));
        EXPECT_EQ(box.parentWidget(), fMain);
        EXPECT_EQ(FormChild<QPushButton>(&box, "bWebsite")->text(), QStringLiteral("Website"));
        EXPECT_EQ(FormChild<QLabel>(&box, "lVersion")->text(),
                  QStringLiteral(QUARN_VERSION_CAPTION));
        FormChild<QPushButton>(&box, "bOK")->click();
    });
    Child<QAction>("About1")->trigger();
    std::filesystem::current_path(working);
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(MainWindowTest, MenusOpenFromTheKeyboard) {
    Start();
    Main().activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &Main(); }, WaitMs));
    for (const auto& [letter, menu] :
         std::vector<std::pair<Qt::Key, const char*>>{{Qt::Key_F, "File1"},
                                                      {Qt::Key_E, "Edit1"},
                                                      {Qt::Key_V, "View1"},
                                                      {Qt::Key_A, "Favorites1"},
                                                      {Qt::Key_H, "Help1"}}) {
        SCOPED_TRACE(menu);
        QTest::keyClick(&Main(), letter, Qt::AltModifier);
        QMenu* opened = Child<QMenu>(menu);
        EXPECT_TRUE(QTest::qWaitFor([&] { return opened->isVisible(); }, WaitMs));
        QTest::keyClick(opened, Qt::Key_Escape);
        QTest::keyClick(Main().menuBar(), Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !opened->isVisible(); }, WaitMs));
    }
}

TEST_F(MainWindowTest, ExitEndsTheProgram) {
    Start();
    bool closed = false;
    QObject::connect(&Main(), &TfMain::Closed, [&] { closed = true; });
    Child<QAction>("Exit1")->trigger();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(Main().isVisible());
}

} // namespace
} // namespace quarn::test

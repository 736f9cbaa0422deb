// The help binding with the real help control and the compiled help file.
#include "ScopedEnvironment.h"
#include "ScriptedMessages.h"
#include "TestFiles.h"
#include "help/HelpApi.h"
#include "help/HelpFuncs.h"
#include "platform/Registry.h"

#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QPointer>
#include <QProcess>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>

namespace quarn {
namespace {

using test::ScopedScriptedMessages;
using test::TempDir;
using test::WriteFileBytes;

constexpr const char* HelpManualMissing =
    "An unexpected error has occurred: Quarn! was unable to locate the Help Manual. Please "
    "re-install Quarn!";

std::vector<QMainWindow*> VisibleHelpWindows() {
    std::vector<QMainWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<QMainWindow*>(widget);
        if (window != nullptr && window->isVisible() &&
            window->findChild<QTextBrowser*>() != nullptr) {
            windows.push_back(window);
        }
    }
    return windows;
}

QString PageText(QMainWindow* window) {
    return window->findChild<QTextBrowser*>()->toPlainText();
}

// Registers a control path (nullopt: no registration at all) and binds whatever it names.
void RegisterAndBind(const std::optional<std::string>& controlPath) {
    ReleaseHtmlHelp();
    TRegistry registry(RegistryRoot::ClassesRoot);
    ASSERT_TRUE(registry.OpenKey(HtmlHelpControlKey, true));
    if (controlPath) {
        registry.WriteString("", *controlPath);
    } else {
        registry.DeleteValue("");
    }
    BindHtmlHelp();
}

class HelpBinding : public testing::Test {
protected:
    void SetUp() override { SetApplicationHelpFile(QUARN_HELP_FILE_PATH); }
    void TearDown() override {
        CloseAllHelpWindows();
        ReleaseHtmlHelp();
        SetApplicationHelpFile({});
    }

    ScopedScriptedMessages messages_;
};

struct TopicCase {
    const char* topic;
    const char* pageTitle;
};

TEST_F(HelpBinding, TopicsOpenInTheHelpWindow) {
    RegisterAndBind(QUARN_HTMLHELP_PATH);
    ASSERT_TRUE(HtmlHelpBound());
    const TopicCase cases[] = {
        {"", "Welcome to Quarn!"}, // the default topic
        {"password_window", "The Password window"},
        {"strong_passwords", "Strong Passwords"},
        {"options", "Options"},
        {"options_general", "Options: General"},
        {"options_encryption", "Options: Encryption"},
        {"options_wiping", "Options: Wiping"},
        {"favorites", "Favorites"},
        {"standard_license", "License Agreement"},
    };
    for (const TopicCase& c : cases) {
        SCOPED_TRACE(c.topic);
        ASSERT_TRUE(ShowHelpTopic(c.topic));
        const auto windows = VisibleHelpWindows();
        ASSERT_EQ(windows.size(), 1u); // one window per help file, reused
        EXPECT_EQ(windows[0]->windowTitle(), QString("Quarn! Help - ") + c.pageTitle);
        EXPECT_TRUE(PageText(windows[0]).startsWith(c.pageTitle))
            << PageText(windows[0]).left(80).toStdString();
    }
    EXPECT_TRUE(messages_->shown.empty());
}

// The links and pictures of the page a help window shows.
struct PageReferences {
    QStringList links;
    QStringList images;
};

PageReferences References(const QTextDocument& page) {
    PageReferences found;
    for (QTextBlock block = page.begin(); block.isValid(); block = block.next()) {
        for (auto part = block.begin(); !part.atEnd(); ++part) {
            const QTextCharFormat format = part.fragment().charFormat();
            if (format.isAnchor() && !format.anchorHref().isEmpty()) {
                found.links << format.anchorHref();
            }
            if (format.isImageFormat()) {
                found.images << format.toImageFormat().name();
            }
        }
    }
    return found;
}

TEST_F(HelpBinding, EveryLinkOfTheManualLeadsToAPageAndEveryPictureLoads) {
    RegisterAndBind(QUARN_HTMLHELP_PATH);
    QStringList pending{"index"}, seen;
    while (!pending.isEmpty()) {
        const QString topic = pending.takeFirst();
        if (seen.contains(topic)) {
            continue;
        }
        seen << topic;
        SCOPED_TRACE(topic.toStdString());
        ASSERT_TRUE(ShowHelpTopic(topic.toStdString()));
        auto* browser = VisibleHelpWindows().at(0)->findChild<QTextBrowser*>();
        const PageReferences references = References(*browser->document());
        for (const QString& image : references.images) {
            EXPECT_FALSE(browser->loadResource(QTextDocument::ImageResource, QUrl(image)).isNull())
                << image.toStdString();
        }
        for (const QString& link : references.links) {
            const QUrl url(link);
            if (url.scheme().isEmpty()) {
                ASSERT_TRUE(url.path().endsWith(".htm")) << link.toStdString();
                pending << url.path().chopped(4);
            }
        }
    }
    for (const char* topic :
         {"main_window", "password_window", "progress_window", "strong_passwords", "options",
          "options_general", "options_encryption", "options_wiping", "favorites",
          "standard_license"}) {
        EXPECT_TRUE(seen.contains(topic)) << topic << " is linked from no page";
    }
    EXPECT_TRUE(messages_->shown.empty());
}

TEST_F(HelpBinding, CloseAllClosesEveryHelpWindow) {
    RegisterAndBind(QUARN_HTMLHELP_PATH);
    TempDir dir;
    const std::string copy = dir / "Other Help.chm";
    std::filesystem::copy_file(QUARN_HELP_FILE_PATH, copy);
    ASSERT_TRUE(ShowHelpTopic("options"));
    SetApplicationHelpFile(copy);
    ASSERT_TRUE(ShowHelpTopic("favorites"));
    auto windows = VisibleHelpWindows();
    ASSERT_EQ(windows.size(), 2u); // one for each file
    const QPointer<QMainWindow> first = windows[0], second = windows[1];

    CloseAllHelpWindows();
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
    EXPECT_TRUE(VisibleHelpWindows().empty());

    ASSERT_TRUE(ShowHelpTopic()); // a closed file opens again
    windows = VisibleHelpWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_TRUE(PageText(windows[0]).startsWith("Welcome to Quarn!"));
    EXPECT_TRUE(messages_->shown.empty());
}

TEST_F(HelpBinding, AMinimizedHelpWindowComesBackForTheNextTopic) {
    RegisterAndBind(QUARN_HTMLHELP_PATH);
    ASSERT_TRUE(ShowHelpTopic("options"));
    QMainWindow* window = VisibleHelpWindows().at(0);
    window->showMinimized();
    ASSERT_TRUE(window->isMinimized());
    ASSERT_TRUE(ShowHelpTopic("favorites"));
    EXPECT_FALSE(window->isMinimized());
    EXPECT_EQ(window->windowTitle(), "Quarn! Help - Favorites");
}

TEST_F(HelpBinding, ReleasingTheControlClosesItsWindows) {
    RegisterAndBind(QUARN_HTMLHELP_PATH);
    ASSERT_TRUE(ShowHelpTopic("options"));
    ASSERT_EQ(VisibleHelpWindows().size(), 1u);
    ReleaseHtmlHelp();
    EXPECT_TRUE(VisibleHelpWindows().empty());
}

TEST_F(HelpBinding, TopicOrFileTheControlCannotShowGivesTheError) {
    RegisterAndBind(QUARN_HTMLHELP_PATH);
    TempDir dir;
    WriteFileBytes(dir / "broken.chm", "ITSF but not really");
    const std::pair<std::string, std::string> cases[] = {
        {QUARN_HELP_FILE_PATH, "no_such_topic"},
        {dir / "missing.chm", ""},
        {dir / "broken.chm", ""},
    };
    for (const auto& [file, topic] : cases) {
        SCOPED_TRACE(file + " " + topic);
        messages_->shown.clear();
        SetApplicationHelpFile(file);
        EXPECT_FALSE(ShowHelpTopic(topic));
        ASSERT_EQ(messages_->shown.size(), 1u);
        EXPECT_EQ(messages_->shown[0].text, HelpManualMissing);
        EXPECT_EQ(messages_->shown[0].kind, MessageKind::Error);
        EXPECT_EQ(messages_->shown[0].buttons, MessageButtons::Ok);
        EXPECT_TRUE(VisibleHelpWindows().empty());
    }
}

// A shared library that is not a help control: the Qt library the tests run on.
std::string OtherLibrary() {
    Dl_info info{};
    return dladdr(reinterpret_cast<void*>(&qVersion), &info) != 0 ? info.dli_fname : "";
}

TEST_F(HelpBinding, MissingOrUnregisteredControlGivesTheErrorOnEveryHelpCall) {
    TempDir dir;
    WriteFileBytes(dir / "plain.so", "not a library");
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"not registered", std::nullopt},    {"empty path", ""},
        {"missing file", dir / "gone.so"},   {"a folder", dir.Path().string()},
        {"not a library", dir / "plain.so"}, {"no HtmlHelpA", OtherLibrary()},
    };
    for (const auto& [label, path] : cases) {
        SCOPED_TRACE(label);
        messages_->shown.clear();
        RegisterAndBind(path);
        EXPECT_FALSE(HtmlHelpBound());
        CloseAllHelpWindows(); // nothing to close, nothing shown
        for (const char* topic : {"", "password_window", "options_wiping", "standard_license"}) {
            EXPECT_FALSE(ShowHelpTopic(topic));
        }
        ASSERT_EQ(messages_->shown.size(), 4u);
        for (const test::ShownMessage& shown : messages_->shown) {
            EXPECT_EQ(shown.text, HelpManualMissing);
            EXPECT_EQ(shown.kind, MessageKind::Error);
            EXPECT_EQ(shown.buttons, MessageButtons::Ok);
        }
    }
}

// Clicks the window's Hide button as the window system delivers a click, which a window
// blocked by a modal dialog never receives. True when the contents pane changed.
bool ClickTakesEffect(QMainWindow* window) {
    auto* contents = window->findChild<QTreeWidget*>();
    auto* bar = window->findChild<QToolBar*>();
    QWidget* hide = bar->widgetForAction(bar->actions().at(0));
    const bool visibleBefore = contents->isVisible();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      hide->mapTo(window, hide->rect().center()));
    return contents->isVisible() != visibleBefore;
}

TEST_F(HelpBinding, HelpFromAModalDialogTakesInput) {
    RegisterAndBind(QUARN_HTMLHELP_PATH);
    for (const bool openBefore : {false, true}) {
        SCOPED_TRACE(openBefore ? "window open before the dialog" : "window opened by the dialog");
        if (openBefore) {
            ASSERT_TRUE(ShowHelpTopic());
        }
        QPointer<QDialog> dialog = new QDialog;
        QTimer::singleShot(0, dialog, [&] {
            ASSERT_TRUE(ShowHelpTopic("options"));
            ASSERT_EQ(VisibleHelpWindows().size(), 1u);
            EXPECT_TRUE(ClickTakesEffect(VisibleHelpWindows()[0]));
            dialog->accept();
        });
        dialog->exec();
        delete dialog.data();
        ASSERT_EQ(VisibleHelpWindows().size(), 1u); // outlives the dialog, and still works
        EXPECT_TRUE(ClickTakesEffect(VisibleHelpWindows()[0]));
        CloseAllHelpWindows();
    }
    EXPECT_TRUE(messages_->shown.empty());
}

TEST(HelpControlRegistration, WrongValueTypeReadsAsUnregistered) {
    TRegistry registry(RegistryRoot::ClassesRoot);
    ASSERT_TRUE(registry.OpenKey(HtmlHelpControlKey, true));
    registry.WriteInteger("", 1);
    EXPECT_EQ(FindHtmlHelpControl(), "");
    ASSERT_TRUE(RegisterHtmlHelpControl(QUARN_HTMLHELP_PATH));
    EXPECT_EQ(FindHtmlHelpControl(), QUARN_HTMLHELP_PATH);
}

// Runs the registration program as the installation does; its exit code.
int RunRegisterProgram(const std::string& program) {
    QProcess process;
    process.start(QString::fromStdString(program), {});
    process.waitForFinished();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

TEST(HelpControlRegistration, RegisterProgramRecordsTheControlBesideIt) {
    ASSERT_TRUE(RegisterHtmlHelpControl(""));
    ASSERT_EQ(RunRegisterProgram(QUARN_REGISTER_PATH), 0);
    EXPECT_TRUE(std::filesystem::equivalent(FindHtmlHelpControl(), QUARN_HTMLHELP_PATH));

    // A copy with no control beside it fails and leaves the registration alone.
    TempDir dir;
    const std::string lonely = dir / "quarn-register";
    std::filesystem::copy_file(QUARN_REGISTER_PATH, lonely);
    std::filesystem::permissions(lonely, std::filesystem::perms::owner_all);
    EXPECT_EQ(RunRegisterProgram(lonely), 1);
    EXPECT_TRUE(std::filesystem::equivalent(FindHtmlHelpControl(), QUARN_HTMLHELP_PATH));
}

TEST(HelpControlRegistration, InstallationRegistersTheControlForEveryUser) {
    TempDir prefix;
    QProcess install;
    install.start(CMAKE_COMMAND, {"--install", QUARN_BUILD_TREE, "--prefix",
                                  QString::fromStdString(prefix.Path().string())});
    ASSERT_TRUE(install.waitForFinished(60000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();

    TempDir freshUser; // a user who never ran quarn-register
    test::ScopedEnvironment userRegistry("QUARN_REGISTRY_DIR", freshUser.Path().string());
    test::ScopedEnvironment installedLayer("QUARN_SYSTEM_REGISTRY_DIR",
                                           prefix / "share/quarn/registry");
    const std::string installed = prefix / "lib/quarn/libquarn-htmlhelp.so";
    ASSERT_TRUE(std::filesystem::is_regular_file(installed));
    EXPECT_EQ(FindHtmlHelpControl(), installed);
}

} // namespace
} // namespace quarn

#include "app/About.h"

#include "FakeOpener.h"
#include "FormChild.h"
#include "ScriptedMessages.h"
#include "app/WebPage.h"
#include "help/HelpApi.h"
#include "help/HelpFuncs.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace quarn {
namespace {

using test::FormChild;
using test::ScopedScriptedMessages;

constexpr const char* HelpManualMissing =
    "An unexpected error has occurred: Quarn! was unable to locate the Help Manual. Please "
    "re-install Quarn!";

QStringList HelpWindowTitles() {
    QStringList titles;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow*>(widget) != nullptr && widget->isVisible()) {
            titles << widget->windowTitle();
        }
    }
    return titles;
}

class AboutBox : public testing::Test {
protected:
    void TearDown() override {
        CloseAllHelpWindows();
        ReleaseHtmlHelp();
        SetApplicationHelpFile({});
    }

    // Both help commands of the box: the License button and F1 on a focused control.
    void UseBothHelpCommands() {
        FormChild<QPushButton>(about_, "bLicense")->click();
        QTest::keyRelease(FormChild<QPushButton>(about_, "bOK"), Qt::Key_F1);
    }

    ScopedScriptedMessages messages_;
    QPointer<TfAbout> about_ = new TfAbout;
};

TEST_F(AboutBox, ShowsNameAndTheVersionOfItsOwnProgramFile) {
    EXPECT_EQ(about_->windowTitle(), "About Quarn!");
    EXPECT_EQ(FormChild<QLabel>(about_, "lProduct")->text(), "Quarn!");
    EXPECT_EQ(FormChild<QLabel>(about_, "lVersion")->text(), "Version 2.1 (Build 37)");
    // No window icon is set here: the box shows the program's own icon at full size.
    ASSERT_TRUE(QApplication::windowIcon().isNull());
    EXPECT_EQ(FormChild<QLabel>(about_, "iIcon")->pixmap().size(), QSize(48, 48));
    EXPECT_EQ(FormChild<QWidget>(about_, "Panel1")->palette().color(QPalette::Window),
              QColor(Qt::white));
    EXPECT_EQ(FormChild<QPushButton>(about_, "bOK")->text(), "OK");
    EXPECT_TRUE(FormChild<QPushButton>(about_, "bOK")->isDefault());
    EXPECT_EQ(FormChild<QPushButton>(about_, "bLicense")->text(), "License");
    EXPECT_EQ(FormChild<QPushButton>(about_, "bWebsite")->text(), "Website");
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((about_->frameGeometry().center() - screen.center()).manhattanLength(), 2);
    delete about_;
}

TEST_F(AboutBox, OkClosesAndFreesTheBox) {
    QTimer::singleShot(0, about_, [this] { FormChild<QPushButton>(about_, "bOK")->click(); });
    EXPECT_EQ(about_->exec(), QDialog::Accepted);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about_.isNull());
}

TEST_F(AboutBox, HelpWithoutAControlShowsTheErrorForEachCommand) {
    ASSERT_FALSE(HtmlHelpBound());
    SetApplicationHelpFile(QUARN_HELP_FILE_PATH);
    UseBothHelpCommands();
    ASSERT_EQ(messages_->shown.size(), 2u);
    for (const test::ShownMessage& shown : messages_->shown) {
        EXPECT_EQ(shown.text, HelpManualMissing);
        EXPECT_EQ(shown.kind, MessageKind::Error);
        EXPECT_EQ(shown.buttons, MessageButtons::Ok);
    }
    delete about_;
}

TEST_F(AboutBox, LicenseAndF1OpenTheirTopics) {
    ASSERT_TRUE(RegisterHtmlHelpControl(QUARN_HTMLHELP_PATH));
    BindHtmlHelp();
    SetApplicationHelpFile(QUARN_HELP_FILE_PATH);
    FormChild<QPushButton>(about_, "bLicense")->click();
    EXPECT_EQ(HelpWindowTitles(), QStringList{"Quarn! Help - License Agreement"});
    QTest::keyRelease(FormChild<QPushButton>(about_, "bOK"), Qt::Key_F1);
    EXPECT_EQ(HelpWindowTitles(), QStringList{"Quarn! Help - Welcome to Quarn!"});
    QTest::keyRelease(FormChild<QPushButton>(about_, "bOK"),
                      Qt::Key_F2); // other keys are the controls' own
    EXPECT_TRUE(messages_->shown.empty());
    delete about_;
}

TEST_F(AboutBox, WebsiteOpensTheHomePageInTheBrowser) {
    test::FakeOpener browser(0);
    FormChild<QPushButton>(about_, "bWebsite")->click();
    ASSERT_TRUE(test::FakeOpener::WaitUntilEnded());
    EXPECT_EQ(browser.Opened(), std::vector<std::string>{"https://quarn.ostrel.example/"});
    EXPECT_TRUE(messages_->shown.empty());
    delete about_;
}

// The desktop's opener starts and then finds no browser (xdg-open ends with 3).
TEST_F(AboutBox, WebsiteWithoutABrowserTellsTheAddress) {
    test::FakeOpener noBrowser(3);
    FormChild<QPushButton>(about_, "bWebsite")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages_->shown.empty(); }));
    ASSERT_TRUE(test::FakeOpener::WaitUntilEnded());
    EXPECT_EQ(noBrowser.Opened(), std::vector<std::string>{"https://quarn.ostrel.example/"});
    ASSERT_EQ(messages_->shown.size(), 1u);
    EXPECT_EQ(messages_->shown[0].text,
              "Unable to launch web browser: There is no default application associated with "
              "web browsing on your computer.\r\n\r\nPlease visit: https://quarn.ostrel.example/");
    EXPECT_EQ(messages_->shown[0].kind, MessageKind::Information);
    EXPECT_EQ(messages_->shown[0].buttons, MessageButtons::Ok);
    delete about_;
}

TEST(OpenWebPage, AddressThatIsNoWebAddressTellsItToo) {
    ScopedScriptedMessages messages;
    for (const char* address : {"", "not an address", "https://bad host/"}) {
        SCOPED_TRACE(address);
        messages->shown.clear();
        EXPECT_FALSE(OpenWebPage(address));
        ASSERT_EQ(messages->shown.size(), 1u);
        EXPECT_TRUE(messages->shown[0].text.ends_with(std::string("Please visit: ") + address));
    }
}

} // namespace
} // namespace quarn

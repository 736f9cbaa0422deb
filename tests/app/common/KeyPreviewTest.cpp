// The key preview every form installs: F1 on key-up, the form's keys before its controls.
#include "app/common/KeyPreview.h"

#include "ScriptedMessages.h"
#include "help/HelpApi.h"
#include "help/HelpFuncs.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <stdexcept>

namespace quarn {
namespace {

using test::ScopedScriptedMessages;

constexpr const char* HelpManualMissing =
    "An unexpected error has occurred: Quarn! was unable to locate the Help Manual. Please "
    "re-install Quarn!";

// A form with an edit inside a box, as forms nest their controls.
class KeyPreviewTest : public testing::Test {
protected:
    KeyPreviewTest() {
        auto* box = new QWidget(&form);
        edit = new QLineEdit(box);
        (new QVBoxLayout(box))->addWidget(edit);
        (new QVBoxLayout(&form))->addWidget(box);
        preview = new KeyPreview(&form);
    }

    void TearDown() override {
        CloseAllHelpWindows();
        ReleaseHtmlHelp();
        SetApplicationHelpFile({});
    }

    static void ReleaseKey(QWidget* widget, Qt::Key key, bool autoRepeat = false) {
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(widget, &release);
    }

    ScopedScriptedMessages messages;
    QWidget form;
    QLineEdit* edit;
    KeyPreview* preview;
};

TEST_F(KeyPreviewTest, F1ShowsHelpOncePerReleaseWhereverTheFocusIs) {
    QTest::keyPress(edit, Qt::Key_F1);
    EXPECT_TRUE(messages->shown.empty()) << "help opens on key-up";
    ReleaseKey(edit, Qt::Key_F1);
    ReleaseKey(edit, Qt::Key_F1, true); // held down: the repeats do nothing
    ReleaseKey(&form, Qt::Key_F1);
    ASSERT_EQ(messages->Texts(), std::vector<std::string>(2, HelpManualMissing));
    EXPECT_EQ(messages->shown[0].kind, MessageKind::Error);
}

TEST_F(KeyPreviewTest, TheFormTakesKeysBeforeItsControls) {
    std::vector<int> released;
    preview->OnKeyDown = [](const QKeyEvent& key) { return key.key() == Qt::Key_X; };
    preview->OnKeyUp = [&](const QKeyEvent& key) {
        released.push_back(key.key());
        return true;
    };
    QTest::keyClicks(edit, "axb");
    EXPECT_EQ(edit->text(), "ab");
    EXPECT_EQ(released, (std::vector<int>{Qt::Key_A, Qt::Key_X, Qt::Key_B}));
}

TEST_F(KeyPreviewTest, ControlsAddedLaterArePreviewedOtherWindowsNot) {
    int keys = 0;
    preview->OnKeyDown = [&](const QKeyEvent&) {
        ++keys;
        return true;
    };
    auto* later = new QWidget(&form);
    auto* laterEdit = new QLineEdit(later);
    QTest::keyClick(laterEdit, Qt::Key_A);
    EXPECT_EQ(keys, 1);
    EXPECT_TRUE(laterEdit->text().isEmpty());

    // A dialog the form owns (a message box) is a window of its own, with its own keys.
    QDialog box(&form);
    auto* boxEdit = new QLineEdit(&box);
    QTest::keyClick(boxEdit, Qt::Key_A);
    ReleaseKey(boxEdit, Qt::Key_F1);
    EXPECT_EQ(keys, 1);
    EXPECT_EQ(boxEdit->text(), "a");
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(KeyPreviewTest, AHandlerThatThrowsIsReportedAndTakesTheKey) {
    preview->OnKeyDown = [](const QKeyEvent&) -> bool { throw std::runtime_error("broken key"); };
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_EQ(messages->Texts(), std::vector<std::string>{"broken key"});
}

TEST_F(KeyPreviewTest, F1ShowsTheFormsTopic) {
    ASSERT_TRUE(RegisterHtmlHelpControl(QUARN_HTMLHELP_PATH));
    BindHtmlHelp();
    SetApplicationHelpFile(QUARN_HELP_FILE_PATH);
    preview->SetHelpTopic("password_window");
    ReleaseKey(edit, Qt::Key_F1);
    QStringList titles;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow*>(widget) != nullptr && widget->isVisible()) {
            titles << widget->windowTitle();
        }
    }
    EXPECT_EQ(titles, QStringList{"Quarn! Help - The Password window"});
    EXPECT_TRUE(messages->shown.empty());
}

} // namespace
} // namespace quarn

// The password dialog as the commands and the Edit menu show it.
#include "CaseNames.h"
#include "MainWindowFixture.h"
#include "help/HelpApi.h"
#include "help/HelpFuncs.h"
#include "platform/gui/DesignScale.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWhatsThis>

namespace quarn::test {
namespace {

constexpr char Mismatch[] = "The passwords you typed do not match. Please try again.";

class PasswordDialog : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Start();
        ePassword = Child<QLineEdit>("ePassword");
        eConfirm = Child<QLineEdit>("eConfirm");
        cbReusePassword = Child<QCheckBox>("cbReusePassword");
        bOK = Child<QPushButton>("bOK");
    }

    // Shows the dialog for a new password or for decryption and runs steps inside it; the
    // result of exec().
    int Show(bool newPassword, const std::function<void()>& steps) {
        WhenModal([&](QWidget&) { steps(); });
        fNewPass->NewPassword = newPassword;
        return fNewPass->exec();
    }

    void Type(const std::string& password, const std::string& confirm) {
        TypeText(ePassword, password);
        TypeText(eConfirm, confirm);
    }

    QLineEdit* ePassword = nullptr;
    QLineEdit* eConfirm = nullptr;
    QCheckBox* cbReusePassword = nullptr;
    QPushButton* bOK = nullptr;
};

TEST_F(PasswordDialog, OkAndUseForSessionNeedBothEntries) {
    Show(true, [&] {
        EXPECT_FALSE(bOK->isEnabled());
        EXPECT_FALSE(cbReusePassword->isEnabled());
        TypeText(ePassword, "x");
        EXPECT_FALSE(bOK->isEnabled());
        TypeText(eConfirm, "y");
        EXPECT_TRUE(bOK->isEnabled());
        EXPECT_TRUE(cbReusePassword->isEnabled());
        cbReusePassword->setChecked(true);
        eConfirm->clear();
        EXPECT_FALSE(cbReusePassword->isEnabled());
        EXPECT_TRUE(cbReusePassword->isChecked()) << "the check state is kept while disabled";
        fNewPass->reject();
    });
}

struct RuleCase {
    const char* name;
    bool newPassword;
    const char* password;
    const char* confirm;
    const char* refusal; // nullptr: accepted
};

void PrintTo(const RuleCase& c, std::ostream* out) {
    *out << c.name;
}

class PasswordRules : public PasswordDialog, public testing::WithParamInterface<RuleCase> {};

TEST_P(PasswordRules, RefusalsEmptyBothEntriesAndKeepTheDialogOpen) {
    const RuleCase& c = GetParam();
    bool refused = false;
    const int result = Show(c.newPassword, [&] {
        Type(c.password, c.confirm);
        QTest::mouseClick(bOK, Qt::LeftButton);
        refused = fNewPass->isVisible();
        if (refused) {
            EXPECT_TRUE(ePassword->text().isEmpty());
            EXPECT_TRUE(eConfirm->text().isEmpty());
            EXPECT_FALSE(bOK->isEnabled());
            EXPECT_EQ(QApplication::focusWidget(), ePassword);
            fNewPass->reject();
        }
    });
    if (c.refusal == nullptr) {
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_EQ(Main().SessionPassword, c.password);
        EXPECT_TRUE(messages->shown.empty());
    } else {
        EXPECT_TRUE(refused);
        ASSERT_EQ(messages->Texts().size(), 1u);
        EXPECT_EQ(messages->Texts()[0].rfind(c.refusal, 0), 0u) << messages->Texts()[0];
        EXPECT_TRUE(Main().SessionPassword.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PasswordRules,
    testing::Values(RuleCase{"EightForEncryption", true, "12345678", "12345678", nullptr},
                    RuleCase{"SevenForEncryption", true, "1234567", "1234567",
                             "The password you have chosen is less than 8 characters"},
                    RuleCase{"OneForDecryption", false, "x", "x", nullptr},
                    RuleCase{"CaseDiffers", false, "Password1", "password1", Mismatch},
                    // The match is tested first.
                    RuleCase{"ShortAndDifferent", true, "abc", "abd", Mismatch},
                    // Characters, not bytes: seven letters of two bytes each are too short.
                    RuleCase{"SevenWideLetters", true,
                             "\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4"
                             "\xC3\xA4\xC3\xA4",
                             "\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4",
                             "The password you have chosen is less than 8 characters"}),
    CaseName());

TEST_F(PasswordDialog, EntriesHoldAtMost255Bytes) {
    Show(true, [&] {
        Type(std::string(300, 'a'), std::string(300, 'a'));
        QTest::mouseClick(bOK, Qt::LeftButton);
    });
    EXPECT_EQ(Main().SessionPassword, std::string(255, 'a'));
}

TEST_F(PasswordDialog, CancelChangesNothingButTheCheckedBoxKeepsTheTexts) {
    Show(true, [&] {
        Type("first password", "first password");
        cbReusePassword->setChecked(true);
        QTest::mouseClick(bOK, Qt::LeftButton);
    });
    ASSERT_TRUE(Main().ReusePassword);
    // Cancel, Escape and the close box answer Cancel; the checked box keeps what was typed.
    QString typed = QStringLiteral("first password");
    for (const auto& cancel : std::vector<std::function<void()>>{
             [&] { QTest::mouseClick(Child<QPushButton>("bCancel"), Qt::LeftButton); },
             [&] { QTest::keyClick(ePassword, Qt::Key_Escape); }, [&] { fNewPass->close(); }}) {
        const int result = Show(true, [&] {
            EXPECT_EQ(ePassword->text(), typed);
            typed += QStringLiteral(" more");
            ePassword->setText(typed);
            cancel();
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_EQ(Main().SessionPassword, "first password");
        EXPECT_TRUE(Main().ReusePassword);
    }
}

TEST_F(PasswordDialog, OkAnswersTheWindowTheDialogWasMadeFor) {
    const TfMain later; // the newest main window, not the dialog's
    Show(true, [&] {
        Type("for the first window", "for the first window");
        cbReusePassword->setChecked(true);
        QTest::mouseClick(bOK, Qt::LeftButton);
    });
    EXPECT_EQ(Main().SessionPassword, "for the first window");
    EXPECT_TRUE(Main().ReusePassword);
    EXPECT_TRUE(later.SessionPassword.empty());
    EXPECT_FALSE(later.ReusePassword);
}

TEST_F(PasswordDialog, UncheckedBoxEmptiesTheEntriesAtTheNextShowing) {
    Show(true, [&] {
        Type("first password", "first password");
        QTest::mouseClick(bOK, Qt::LeftButton);
    });
    EXPECT_FALSE(Main().ReusePassword);
    Show(true, [&] {
        EXPECT_TRUE(ePassword->text().isEmpty());
        EXPECT_TRUE(eConfirm->text().isEmpty());
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == ePassword; }));
        fNewPass->reject();
    });
}

TEST_F(PasswordDialog, SessionPasswordItemAlwaysShowsItAndOkWithTheBoxClearedEndsTheReuse) {
    AnswerPassword("session password", true);
    Child<QAction>("SessionPassword1")->trigger();
    ASSERT_TRUE(Main().ReusePassword);
    EXPECT_EQ(Main().SessionPassword, "session password");

    bool shown = false;
    WhenModal([&](QWidget&) {
        shown = true;
        EXPECT_EQ(ePassword->text(), QStringLiteral("session password"));
        cbReusePassword->setChecked(false);
        QTest::mouseClick(bOK, Qt::LeftButton);
    });
    Child<QAction>("SessionPassword1")->trigger();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(Main().ReusePassword);
}

TEST_F(PasswordDialog, LaidOutForItsClientSizeWithMnemonicsAndTabOrder) {
    Show(true, [&] {
        EXPECT_EQ(fNewPass->windowTitle(), QStringLiteral("Password"));
        EXPECT_EQ(fNewPass->size(), DesignScale::Of(*fNewPass)(TfNewPass::ClientSize));
        EXPECT_EQ(Child<QLabel>("Label1")->buddy(), ePassword);
        EXPECT_EQ(Child<QLabel>("Label2")->buddy(), eConfirm);
        Type("password", "password");
        ePassword->setFocus();
        for (QWidget* next : std::initializer_list<QWidget*>{eConfirm, cbReusePassword, bOK,
                                                             Child<QPushButton>("bCancel")}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
        }
        // Every control inside the dialog, none over another.
        const std::vector<QWidget*> controls = {
            Child<QLabel>("Label1"), ePassword, Child<QLabel>("Label2"),      eConfirm,
            cbReusePassword,         bOK,       Child<QPushButton>("bCancel")};
        std::vector<QRect> places;
        for (QWidget* control : controls) {
            places.emplace_back(control->mapTo(fNewPass, QPoint()), control->size());
            EXPECT_TRUE(fNewPass->rect().contains(places.back()))
                << control->objectName().toStdString();
        }
        for (std::size_t i = 0; i < places.size(); ++i) {
            for (std::size_t j = i + 1; j < places.size(); ++j) {
                EXPECT_FALSE(places[i].intersects(places[j]))
                    << controls[i]->objectName().toStdString() << " over "
                    << controls[j]->objectName().toStdString();
            }
        }
        // Alt+N goes to the confirmation.
        QTest::keyClick(fNewPass, Qt::Key_N, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), eConfirm);
        fNewPass->reject();
    });
}

// As in the options dialog and the favorites manager: the caption's help button shows the
// dialog's topic.
TEST_F(PasswordDialog, TheCaptionsHelpButtonShowsThePasswordTopic) {
    ASSERT_TRUE(RegisterHtmlHelpControl(QUARN_HTMLHELP_PATH));
    BindHtmlHelp();
    SetApplicationHelpFile(QUARN_HELP_FILE_PATH);
    QStringList topics;
    Show(true, [&] {
        EXPECT_TRUE(fNewPass->windowFlags() & Qt::WindowContextHelpButtonHint);
        fNewPass->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(fNewPass));
        QWhatsThis::enterWhatsThisMode();
        QCoreApplication::processEvents();
        EXPECT_FALSE(QWhatsThis::inWhatsThisMode());
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->windowTitle().startsWith("Quarn! Help - ")) {
                topics << window->windowTitle();
            }
        }
        fNewPass->reject();
    });
    EXPECT_EQ(topics, QStringList{"Quarn! Help - The Password window"});
    EXPECT_TRUE(messages->shown.empty());
    CloseAllHelpWindows();
    ReleaseHtmlHelp();
    SetApplicationHelpFile({});
}

// Each showing processes the pending events; one of them that closes the dialog ends it.
TEST_F(PasswordDialog, AShowingProcessesThePendingEvents) {
    bool ran = false;
    QMetaObject::invokeMethod(
        qApp, [&] { ran = true; }, Qt::QueuedConnection);
    fNewPass->show();
    EXPECT_TRUE(ran);
    fNewPass->hide();
    QMetaObject::invokeMethod(
        qApp, [] { fNewPass->reject(); }, Qt::QueuedConnection);
    EXPECT_EQ(fNewPass->exec(), QDialog::Rejected);
    EXPECT_FALSE(fNewPass->isVisible());
}

} // namespace
} // namespace quarn::test

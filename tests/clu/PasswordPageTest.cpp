// The Password page: OK enabling, the password rules, its keys and F1.
#include "CluFixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTest>
#include <optional>

namespace quarn::clu::test {
namespace {

constexpr char Mismatch[] = "The passwords you typed do not match. Please try again.";
constexpr char TooShort[] =
    "The password you have chosen is less than 8 characters in length - a potential security "
    "risk. For security purposes, passwords must be 8-255 characters in length. (See the "
    "Strong Passwords topic in Quarn! Help for more information.)";

std::string Repeat(const std::string& unit, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += unit;
    }
    return text;
}

struct PasswordCase {
    const char* label;
    const char* option;
    std::string password;
    std::string confirm;
    const char* refusal; // nullptr: accepted
    MessageKind kind;
};

// Names the case in test names.
void PrintTo(const PasswordCase& c, std::ostream* out) {
    *out << c.label;
}

class PasswordRuleTest : public CluTest, public testing::WithParamInterface<PasswordCase> {};

TEST_P(PasswordRuleTest, AcceptsOrRefusesOnThePage) {
    const PasswordCase& c = GetParam();
    // A missing file: an accepted password runs a loop that passes over it.
    auto window = RunWithPassword({c.option, dir / "missing.txt"}, c.password, c.confirm);
    ASSERT_TRUE(window);
    if (c.refusal == nullptr) {
        EXPECT_TRUE(messages->shown.empty()) << messages->shown.front().text;
        EXPECT_TRUE(window->Ended());
        return;
    }
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text, c.refusal);
    EXPECT_EQ(messages->shown[0].kind, c.kind);
    EXPECT_EQ(messages->shown[0].buttons, MessageButtons::Ok);
    EXPECT_FALSE(window->Ended());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Notebook->currentWidget(), window->PasswordPage);
    EXPECT_TRUE(window->ePassword->text().isEmpty());
    EXPECT_TRUE(window->eConfirm->text().isEmpty());
    EXPECT_EQ(window->focusWidget(), window->ePassword);
    EXPECT_FALSE(window->bOK->isEnabled());
    window->close();
    EXPECT_TRUE(window->Ended());
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PasswordRuleTest,
    testing::Values(
        PasswordCase{"CaseDiffers", "/e", "Password1", "password1", Mismatch, MessageKind::Error},
        // The match is tested before the length.
        PasswordCase{"ShortMismatch", "/e", "abc", "abd", Mismatch, MessageKind::Error},
        PasswordCase{"SevenForEncrypt", "/e", "1234567", "1234567", TooShort, MessageKind::Warning},
        PasswordCase{"EightForEncrypt", "/e", "12345678", "12345678", nullptr, {}},
        PasswordCase{"OneForDecrypt", "/d", "x", "x", nullptr, {}},
        // Lengths count the bytes the cipher is keyed with.
        PasswordCase{"FourTwoByteCharacters",
                     "/e",
                     Repeat("\xC3\xA9", 4),
                     Repeat("\xC3\xA9", 4),
                     nullptr,
                     {}},
        PasswordCase{"MaximumAscii", "/e", Repeat("a", 255), Repeat("a", 255), nullptr, {}},
        // The edits take at most 255 characters: the rest of the typing is dropped.
        PasswordCase{"TypedPastTheLimit", "/e", Repeat("a", 300), Repeat("a", 256), nullptr, {}},
        PasswordCase{"OverLimitInBytesEncrypt", "/e", Repeat("\xC3\xA9", 128),
                     Repeat("\xC3\xA9", 128), TooShort, MessageKind::Warning},
        PasswordCase{"OverLimitInBytesDecrypt", "/d", Repeat("\xC3\xA9", 255),
                     Repeat("\xC3\xA9", 255), TooShort, MessageKind::Warning}));

TEST_F(CluTest, OkIsEnabledOnlyWhileBothEditsAreFilled) {
    auto window = Create({"/e", dir / "missing.txt"});
    window->show();
    EXPECT_FALSE(window->bOK->isEnabled());
    EXPECT_EQ(window->ePassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(window->eConfirm->maxLength(), 255);
    TypeText(window->ePassword, "secret12");
    EXPECT_FALSE(window->bOK->isEnabled());
    TypeText(window->eConfirm, "s");
    EXPECT_TRUE(window->bOK->isEnabled());
    window->ePassword->clear();
    EXPECT_FALSE(window->bOK->isEnabled());
    // Enter does nothing while OK is disabled.
    QTest::keyClick(window->eConfirm, Qt::Key_Return);
    EXPECT_FALSE(window->Ended());
    EXPECT_TRUE(messages->shown.empty());
    window->close();
}

TEST_F(CluTest, EscapeAndCancelOnThePasswordPageEndTheRunUntouched) {
    WriteFileBytes(dir / "a.txt", "kept");
    for (const bool byKey : {true, false}) {
        auto window = Create({"/e", dir / "a.txt"});
        window->show();
        TypeText(window->ePassword, "secret123");
        TypeText(window->eConfirm, "secret123");
        if (byKey) {
            QTest::keyClick(window->ePassword, Qt::Key_Escape);
        } else {
            QTest::mouseClick(window->bCancel, Qt::LeftButton);
        }
        EXPECT_TRUE(window->Ended());
        EXPECT_FALSE(window->isVisible());
    }
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(Names(dir.Folder()), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "kept");
}

TEST_F(CluTest, EnterClicksTheFocusedButton) {
    auto window = Create({"/e", dir / "missing.txt"});
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    TypeText(window->ePassword, "secret123");
    TypeText(window->eConfirm, "secret123");
    window->bCancel->setFocus();
    QTest::keyClick(window->bCancel, Qt::Key_Return);
    EXPECT_TRUE(window->Ended());
    EXPECT_EQ(window->Notebook->currentWidget(), window->PasswordPage) << "no loop ran";
}

TEST_F(CluTest, F1OnKeyUpShowsTheHelpError) {
    auto window = Create({"/d", dir / "missing.txt"});
    window->show();
    QTest::keyPress(window->ePassword, Qt::Key_F1);
    EXPECT_TRUE(messages->shown.empty()) << "help opens on key-up";
    QTest::keyRelease(window->ePassword, Qt::Key_F1);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].kind, MessageKind::Error);
    EXPECT_EQ(messages->shown[0].text,
              "An unexpected error has occurred: Quarn! was unable to locate the Help Manual. "
              "Please re-install Quarn!");
    // Once per key-up, wherever the focus is.
    QTest::keyClick(window->bCancel, Qt::Key_F1);
    EXPECT_EQ(messages->shown.size(), 2u);
    EXPECT_FALSE(window->Ended());
    window->close();
}

TEST_F(CluTest, PagesHaveTheirSizes) {
    auto password = Create({"/e", dir / "missing.txt"});
    password->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(password.get()));
    EXPECT_EQ(password->size(), TfMain::PasswordClientSize);
    EXPECT_EQ(password->windowTitle(), QStringLiteral("Quarn!"));
    EXPECT_EQ(password->minimumSize(), password->maximumSize()) << "fixed border";
    const QRect screen = password->screen()->geometry();
    EXPECT_EQ(password->frameGeometry().center(), screen.center());
    password->close();

    messages->QueueAnswer(MessageAnswer::Yes);
    auto progress = Create({"/w", dir / "missing.txt"});
    EXPECT_EQ(progress->Notebook->currentWidget(), progress->ProgressPage);
    progress->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(progress.get()));
    // No frame on this platform: the outer size is the window's.
    EXPECT_EQ(progress->frameGeometry(),
              QRect(screen.width() / 2 - 160, screen.height() / 2 - 118, 320, 237));
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress->Ended(); }, 10000));
}

} // namespace
} // namespace quarn::clu::test

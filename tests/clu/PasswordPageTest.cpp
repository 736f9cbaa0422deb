// The Password page: OK enabling, the password rules, its keys and F1.
#include "CluFixture.h"
#include "platform/gui/DesignScale.h"

#include <QClipboard>
#include <QGuiApplication>
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
    EXPECT_EQ(CurrentPage(*window), QStringLiteral("Password"));
    EXPECT_TRUE(Edit(*window, "ePassword")->text().isEmpty());
    EXPECT_TRUE(Edit(*window, "eConfirm")->text().isEmpty());
    EXPECT_EQ(window->focusWidget(), Edit(*window, "ePassword"));
    EXPECT_FALSE(Button(*window, "bOK")->isEnabled());
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
        // The minimum counts characters as a user does, not bytes or code points.
        PasswordCase{"SevenTwoByteCharacters", "/e", Repeat("\xC3\xA4", 7), Repeat("\xC3\xA4", 7),
                     TooShort, MessageKind::Warning},
        PasswordCase{"EightTwoByteCharacters",
                     "/e",
                     Repeat("\xC3\xA4", 8),
                     Repeat("\xC3\xA4", 8),
                     nullptr,
                     {}},
        PasswordCase{"SevenCombinedCharacters", "/e", Repeat("e\xCC\x81", 7),
                     Repeat("e\xCC\x81", 7), TooShort, MessageKind::Warning},
        PasswordCase{"MaximumAscii", "/e", Repeat("a", 255), Repeat("a", 255), nullptr, {}},
        // The edits take at most 255 bytes: the rest of the typing is dropped, so a long
        // password is never refused as too short.
        PasswordCase{"TypedPastTheLimit", "/e", Repeat("a", 300), Repeat("a", 256), nullptr, {}},
        PasswordCase{"OverLimitInBytesEncrypt",
                     "/e",
                     Repeat("\xC3\xA9", 128),
                     Repeat("\xC3\xA9", 128),
                     nullptr,
                     {}},
        PasswordCase{"OverLimitInBytesDecrypt",
                     "/d",
                     Repeat("\xC3\xA9", 130),
                     Repeat("\xC3\xA9", 130),
                     nullptr,
                     {}}));

// 130 two-byte characters are 260 bytes: the edits keep 127 of them, and those are the key.
TEST_F(CluTest, ALongPasswordIsCutAtTheEditsLimitAndKeysTheRun) {
    WriteFileBytes(dir / "a.txt", "plain");
    const std::string typed = Repeat("\xC3\xA9", 130);
    const QString kept = QString::fromUtf8(Repeat("\xC3\xA9", 127).c_str());
    auto encrypt = Create({"/e", dir / "a.txt"});
    encrypt->show();
    TypeText(Edit(*encrypt, "ePassword"), typed);
    QGuiApplication::clipboard()->setText(QString::fromStdString(typed));
    Edit(*encrypt, "eConfirm")->paste();
    EXPECT_EQ(Edit(*encrypt, "ePassword")->text(), kept);
    EXPECT_EQ(Edit(*encrypt, "eConfirm")->text(), kept);
    QTest::mouseClick(Button(*encrypt, "bOK"), Qt::LeftButton);
    EXPECT_TRUE(encrypt->Ended());
    EXPECT_TRUE(messages->shown.empty()) << messages->shown.front().text;
    EXPECT_EQ(Names(dir.Folder()), std::vector<std::string>{"0.zot!"});

    RunWithPassword({"/d", dir / "0.zot!"}, kept.toStdString());
    EXPECT_TRUE(messages->shown.empty()) << messages->shown.front().text;
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "plain");
}

TEST_F(CluTest, OkIsEnabledOnlyWhileBothEditsAreFilled) {
    auto window = Create({"/e", dir / "missing.txt"});
    window->show();
    EXPECT_FALSE(Button(*window, "bOK")->isEnabled());
    EXPECT_EQ(Edit(*window, "ePassword")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(Edit(*window, "eConfirm")->maxLength(), 255);
    TypeText(Edit(*window, "ePassword"), "secret12");
    EXPECT_FALSE(Button(*window, "bOK")->isEnabled());
    TypeText(Edit(*window, "eConfirm"), "s");
    EXPECT_TRUE(Button(*window, "bOK")->isEnabled());
    Edit(*window, "ePassword")->clear();
    EXPECT_FALSE(Button(*window, "bOK")->isEnabled());
    // Enter does nothing while OK is disabled.
    QTest::keyClick(Edit(*window, "eConfirm"), Qt::Key_Return);
    EXPECT_FALSE(window->Ended());
    EXPECT_TRUE(messages->shown.empty());
    window->close();
}

TEST_F(CluTest, EscapeAndCancelOnThePasswordPageEndTheRunUntouched) {
    WriteFileBytes(dir / "a.txt", "kept");
    for (const bool byKey : {true, false}) {
        auto window = Create({"/e", dir / "a.txt"});
        window->show();
        TypeText(Edit(*window, "ePassword"), "secret123");
        TypeText(Edit(*window, "eConfirm"), "secret123");
        if (byKey) {
            QTest::keyClick(Edit(*window, "ePassword"), Qt::Key_Escape);
        } else {
            QTest::mouseClick(Button(*window, "bCancel"), Qt::LeftButton);
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
    TypeText(Edit(*window, "ePassword"), "secret123");
    TypeText(Edit(*window, "eConfirm"), "secret123");
    Button(*window, "bCancel")->setFocus();
    QTest::keyClick(Button(*window, "bCancel"), Qt::Key_Return);
    EXPECT_TRUE(window->Ended());
    EXPECT_EQ(CurrentPage(*window), QStringLiteral("Password")) << "no loop ran";
}

TEST_F(CluTest, F1OnKeyUpShowsTheHelpError) {
    auto window = Create({"/d", dir / "missing.txt"});
    window->show();
    QTest::keyPress(Edit(*window, "ePassword"), Qt::Key_F1);
    EXPECT_TRUE(messages->shown.empty()) << "help opens on key-up";
    QTest::keyRelease(Edit(*window, "ePassword"), Qt::Key_F1);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].kind, MessageKind::Error);
    EXPECT_EQ(messages->shown[0].text,
              "An unexpected error has occurred: Quarn! was unable to locate the Help Manual. "
              "Please re-install Quarn!");
    // Once per key-up, wherever the focus is.
    QTest::keyClick(Button(*window, "bCancel"), Qt::Key_F1);
    EXPECT_EQ(messages->shown.size(), 2u);
    EXPECT_FALSE(window->Ended());
    window->close();
}

TEST_F(CluTest, PagesHaveTheirSizes) {
    auto password = Create({"/e", dir / "missing.txt"});
    password->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(password.get()));
    const DesignScale px = DesignScale::Of(*password);
    EXPECT_EQ(password->size(), px(TfMain::PasswordClientSize));
    EXPECT_EQ(password->windowTitle(), QStringLiteral("Quarn!"));
    EXPECT_EQ(password->minimumSize(), password->maximumSize()) << "fixed border";
    const QRect screen = password->screen()->geometry();
    const QRect frame = password->frameGeometry();
    EXPECT_EQ(frame.topLeft(), QPoint(screen.width() / 2 - frame.width() / 2,
                                      screen.height() / 2 - frame.height() / 2));
    password->close();

    messages->QueueAnswer(MessageAnswer::Yes);
    auto progress = Create({"/w", dir / "missing.txt"});
    EXPECT_EQ(CurrentPage(*progress), QStringLiteral("Progress"));
    progress->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(progress.get()));
    // The outer size, whatever frame the platform draws, centred on the screen.
    const QSize outer = px(TfMain::ProgressOuterSize);
    EXPECT_EQ(progress->frameGeometry(),
              QRect(screen.width() / 2 - outer.width() / 2,
                    screen.height() / 2 - outer.height() / 2, outer.width(), outer.height()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress->Ended(); }, 10000));
}

} // namespace
} // namespace quarn::clu::test

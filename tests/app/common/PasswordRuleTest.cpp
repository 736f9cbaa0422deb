// The password rule of both programs' password forms.
#include "app/common/PasswordRule.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace quarn {
namespace {

QString Repeat(const QString& unit, int count) {
    return unit.repeated(count);
}

const QString TwoBytes = QString::fromUtf8("\xC3\xA4");          // ä
const QString Combined = QString::fromUtf8("e\xCC\x81");         // e and a combining acute
const QString FourBytes = QString::fromUtf8("\xF0\x9F\x98\x80"); // an emoji, two UTF-16 units

TEST(PasswordRule, CountsCharactersAsAUserDoes) {
    EXPECT_EQ(CountCharacters(""), 0u);
    EXPECT_EQ(CountCharacters("secret12"), 8u);
    EXPECT_EQ(CountCharacters(Repeat(TwoBytes, 7)), 7u);
    EXPECT_EQ(CountCharacters(Repeat(Combined, 7)), 7u);
    EXPECT_EQ(CountCharacters(Repeat(FourBytes, 3) + QString::fromUtf8("a\xCC\x88\xCC\xA3")), 4u);
}

struct CutCase {
    const char* name;
    QString text;
    QString expected;
};

void PrintTo(const CutCase& c, std::ostream* out) {
    *out << c.name;
}

class CutToLimit : public testing::TestWithParam<CutCase> {};

TEST_P(CutToLimit, KeepsTheLongestStartWithinTheBytes) {
    const CutCase& c = GetParam();
    const QString cut = CutToBytes(c.text, MaxPasswordBytes);
    EXPECT_EQ(cut, c.expected);
    EXPECT_LE(cut.toUtf8().size(), MaxPasswordBytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, CutToLimit,
                         testing::Values(CutCase{"Fits", Repeat("a", 255), Repeat("a", 255)},
                                         CutCase{"OneByteOver", Repeat("a", 256), Repeat("a", 255)},
                                         CutCase{"TwoByteCharacters", "ab" + Repeat(TwoBytes, 127),
                                                 "ab" + Repeat(TwoBytes, 126)},
                                         CutCase{"FourByteCharacters", Repeat(FourBytes, 64),
                                                 Repeat(FourBytes, 63)},
                                         // A character of two code points goes whole or not at all.
                                         CutCase{"CombinedCharacterAtTheEdge",
                                                 Repeat("a", 254) + Combined, Repeat("a", 254)}));

TEST(PasswordRule, TheEditsCutWhatIsPutInAtTheByteLimit) {
    QLineEdit edit;
    SetUpPasswordEdit(&edit);
    EXPECT_EQ(edit.echoMode(), QLineEdit::Password);

    edit.setText(Repeat(TwoBytes, 130));
    EXPECT_EQ(edit.text(), Repeat(TwoBytes, 127));

    // Pasted into the middle: the pasted text is cut, the text after the cursor stays.
    edit.setText(Repeat("a", 250));
    edit.setCursorPosition(10);
    QGuiApplication::clipboard()->setText("xyz1234");
    edit.paste();
    EXPECT_EQ(edit.text(), Repeat("a", 10) + "xyz12" + Repeat("a", 240));
    EXPECT_EQ(edit.cursorPosition(), 15);

    // Characters of two UTF-16 units are never split.
    edit.clear();
    QGuiApplication::clipboard()->setText(Repeat(FourBytes, 64));
    edit.paste();
    EXPECT_EQ(edit.text(), Repeat(FourBytes, 63));

    // Full: typing more changes nothing.
    edit.setText(Repeat("a", 255));
    edit.insert("b");
    EXPECT_EQ(edit.text(), Repeat("a", 255));
}

TEST(PasswordRule, TheMatchComesBeforeTheLengthAndOnlyNewPasswordsHaveAMinimum) {
    EXPECT_EQ(CheckPassword("abc", "abd", true), PasswordCheck::Mismatch);
    EXPECT_EQ(CheckPassword("Password1", "password1", false), PasswordCheck::Mismatch);
    EXPECT_EQ(CheckPassword(Repeat(TwoBytes, 7), Repeat(TwoBytes, 7), true),
              PasswordCheck::TooShort);
    EXPECT_EQ(CheckPassword(Repeat(TwoBytes, 8), Repeat(TwoBytes, 8), true),
              PasswordCheck::Accepted);
    EXPECT_EQ(CheckPassword("x", "x", false), PasswordCheck::Accepted);
}

} // namespace
} // namespace quarn

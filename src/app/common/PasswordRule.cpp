#include "app/common/PasswordRule.h"

#include "platform/MessageService.h"

#include <QLineEdit>
#include <QTextBoundaryFinder>
#include <QValidator>

namespace quarn {

namespace {

constexpr char MismatchMessage[] = "The passwords you typed do not match. Please try again.";
constexpr char TooShortMessage[] =
    "The password you have chosen is less than 8 characters in length - a potential security "
    "risk. For security purposes, passwords must be 8-255 characters in length. (See the "
    "Strong Passwords topic in Quarn! Help for more information.)";

std::size_t Utf8Size(const QString& text) {
    return static_cast<std::size_t>(text.toUtf8().size());
}

// Keeps an edit's text within a number of UTF-8 bytes. What was just typed or pasted ends
// at the cursor: that is what gets cut, so the text after the cursor stays.
class Utf8ByteLimit : public QValidator {
public:
    Utf8ByteLimit(std::size_t maxBytes, QObject* parent) : QValidator(parent), max_(maxBytes) {}

    State validate(QString& input, int& pos) const override {
        if (Utf8Size(input) <= max_) {
            return Acceptable;
        }
        const QString after = input.mid(pos);
        const std::size_t afterBytes = Utf8Size(after);
        if (afterBytes > max_) {
            input = CutToBytes(input, max_);
            pos = static_cast<int>(input.size());
            return Acceptable;
        }
        const QString before = CutToBytes(input.left(pos), max_ - afterBytes);
        input = before + after;
        pos = static_cast<int>(before.size());
        return Acceptable;
    }

private:
    std::size_t max_;
};

} // namespace

PasswordCheck CheckPassword(const QString& password, const QString& confirm, bool newPassword) {
    if (password != confirm) {
        return PasswordCheck::Mismatch;
    }
    if (newPassword && CountCharacters(password) < MinNewPasswordCharacters) {
        return PasswordCheck::TooShort;
    }
    return PasswordCheck::Accepted;
}

void ShowPasswordRefusal(PasswordCheck check) {
    switch (check) {
    case PasswordCheck::Accepted:
        return;
    case PasswordCheck::Mismatch:
        Messages().Show(MessageKind::Error, MismatchMessage, MessageButtons::Ok);
        return;
    case PasswordCheck::TooShort:
        Messages().Show(MessageKind::Warning, TooShortMessage, MessageButtons::Ok);
        return;
    }
}

std::size_t CountCharacters(const QString& text) {
    std::size_t count = 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    while (finder.toNextBoundary() > 0) {
        ++count;
    }
    return count;
}

QString CutToBytes(const QString& text, std::size_t maxBytes) {
    qsizetype cut = 0;
    std::size_t bytes = 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype next = finder.toNextBoundary(); next > 0; next = finder.toNextBoundary()) {
        bytes += Utf8Size(text.mid(cut, next - cut));
        if (bytes > maxBytes) {
            break;
        }
        cut = next;
    }
    return text.left(cut);
}

void SetUpPasswordEdit(QLineEdit* edit) {
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    // Never more UTF-16 units than UTF-8 bytes: the byte limit is the one that counts.
    edit->setMaxLength(MaxPasswordBytes);
    edit->setValidator(new Utf8ByteLimit(MaxPasswordBytes, edit));
}

} // namespace quarn

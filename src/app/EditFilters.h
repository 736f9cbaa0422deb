#pragma once

#include <QObject>
#include <QValidator>
#include <functional>

class QLineEdit;

namespace quarn {

// Typed characters that an edit takes: a printable character typed without Ctrl, Alt or Meta
// reaches the edit only when allowed says so. Every other key (arrows, Delete, Backspace,
// Tab, Enter, Ctrl shortcuts such as Ctrl+C and Ctrl+V) keeps its usual work. Pasted text is
// not filtered. A child of the edit.
class TypedCharacterFilter : public QObject {
public:
    TypedCharacterFilter(QLineEdit* edit, std::function<bool(QChar)> allowed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool(QChar)> allowed_;
};

// What the user types or pastes into an edit: at most maxLength characters, in upper case when
// upperCase is set. A text the program sets is kept whole, also when it is longer, so that a
// stored value out of range is seen and refused rather than cut to a valid one. A child of the
// edit, and its validator.
class EditLimit : public QValidator {
public:
    EditLimit(QLineEdit* edit, int maxLength, bool upperCase);

    State validate(QString& input, int& position) const override;

private:
    int maxLength_;
    bool upperCase_;
};

} // namespace quarn

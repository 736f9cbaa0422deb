#include "app/EditFilters.h"

#include "platform/gui/Guard.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

namespace quarn {

namespace {

// A key that types text rather than commanding the edit.
bool TypesText(const QKeyEvent& key) {
    constexpr Qt::KeyboardModifiers Commands =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    const QString text = key.text();
    return !text.isEmpty() && std::ranges::all_of(text, [](QChar c) { return c.isPrint(); }) &&
           (key.modifiers() & Commands) == Qt::NoModifier;
}

} // namespace

TypedCharacterFilter::TypedCharacterFilter(QLineEdit* edit, std::function<bool(QChar)> allowed)
    : QObject(edit), allowed_(std::move(allowed)) {
    edit->installEventFilter(this);
}

bool TypedCharacterFilter::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto& key = *static_cast<QKeyEvent*>(event);
    bool discard = false;
    RunGuarded([&] { discard = TypesText(key) && !std::ranges::all_of(key.text(), allowed_); });
    return discard;
}

EditLimit::EditLimit(QLineEdit* edit, int maxLength, bool upperCase)
    : QValidator(edit), maxLength_(maxLength), upperCase_(upperCase) {
    edit->setValidator(this);
}

QValidator::State EditLimit::validate(QString& input, int&) const {
    if (upperCase_) {
        input = input.toUpper();
    }
    return input.size() <= maxLength_ ? Acceptable : Invalid;
}

} // namespace quarn

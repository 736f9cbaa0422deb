#include "app/HandlerRadioButton.h"

#include <QAccessibleActionInterface>
#include <QAccessibleWidget>

namespace quarn {

namespace {

// The caption as read: "&&" is an "&", a single "&" only marks the mnemonic.
QString WithoutMnemonic(const QString& caption) {
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && ++i == caption.size()) {
            break;
        }
        text += caption[i];
    }
    return text;
}

class HandlerRadioAccessible : public QAccessibleWidget {
public:
    explicit HandlerRadioAccessible(THandlerRadioButton* button)
        : QAccessibleWidget(button, QAccessible::RadioButton) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Button()->isChecked();
        return state;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return WithoutMnemonic(Button()->text());
        }
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled()) {
            names.prepend(toggleAction());
        }
        return names;
    }

    void doAction(const QString& action) override {
        if (action == toggleAction() || action == pressAction()) {
            if (widget()->isEnabled()) {
                Button()->click();
            }
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    THandlerRadioButton* Button() const { return static_cast<THandlerRadioButton*>(widget()); }
};

QAccessibleInterface* MakeAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(THandlerRadioButton::staticMetaObject.className())) {
        return new HandlerRadioAccessible(static_cast<THandlerRadioButton*>(object));
    }
    return nullptr;
}

} // namespace

THandlerRadioButton::THandlerRadioButton(const QString& text, QWidget* parent)
    : QRadioButton(text, parent) {
    // Once per process, before the first such button is asked for its interface.
    static const bool accessibleInstalled = (QAccessible::installFactory(MakeAccessible), true);
    Q_UNUSED(accessibleInstalled);
    setAutoExclusive(false);
}

} // namespace quarn

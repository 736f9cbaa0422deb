#pragma once

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QTimer>

namespace quarn::test {

// Counts the menus that pop up while it lives, and closes each as soon as it shows (modal
// ones too: their loop runs the close).
class MenuCounter : public QObject {
public:
    MenuCounter() { qApp->installEventFilter(this); }
    ~MenuCounter() override { qApp->removeEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<QMenu*>(watched)) {
            ++shown;
            QTimer::singleShot(0, static_cast<QMenu*>(watched), &QMenu::close);
        }
        return false;
    }
};

} // namespace quarn::test

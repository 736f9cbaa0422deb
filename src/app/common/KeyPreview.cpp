#include "app/common/KeyPreview.h"

#include "help/HelpFuncs.h"
#include "platform/gui/Guard.h"

#include <QChildEvent>
#include <QKeyEvent>
#include <QWidget>

namespace quarn {

KeyPreview::KeyPreview(QWidget* form, std::string helpTopic)
    : QObject(form), form_(form), helpTopic_(std::move(helpTopic)) {
    Watch(form);
}

void KeyPreview::Watch(QObject* object) {
    object->installEventFilter(this);
    for (QObject* child : object->children()) {
        Watch(child);
    }
}

bool KeyPreview::OnForm(const QObject* object) const {
    const auto* widget = qobject_cast<const QWidget*>(object);
    return widget != nullptr && widget->window() == form_;
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ChildAdded) {
        Watch(static_cast<QChildEvent*>(event)->child());
        return false;
    }
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (!key || !OnForm(watched)) {
        return false;
    }
    bool taken = true; // also when a handler threw
    RunGuarded([&] { taken = Preview(*static_cast<QKeyEvent*>(event)); });
    return taken;
}

bool KeyPreview::Preview(const QKeyEvent& key) {
    if (key.type() == QEvent::KeyPress) {
        return OnKeyDown && OnKeyDown(key);
    }
    return HelpKeyUp(key) || (OnKeyUp && OnKeyUp(key));
}

// F1 shows help once per release: an auto-repeated one is taken and does nothing.
bool KeyPreview::HelpKeyUp(const QKeyEvent& key) {
    if (key.key() != Qt::Key_F1) {
        return false;
    }
    if (!key.isAutoRepeat()) {
        ShowHelpTopic(helpTopic_);
    }
    return true;
}

} // namespace quarn

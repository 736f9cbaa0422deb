#pragma once

#include <QString>
#include <utility>

namespace quarn {

// A new control that carries its name as its object name, so that tests and screen readers
// find it: Named<QPushButton>("bOK", "&OK", parent).
template <typename Widget, typename... Args> Widget* Named(const char* name, Args&&... args) {
    auto* widget = new Widget(std::forward<Args>(args)...);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace quarn

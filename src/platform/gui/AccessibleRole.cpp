#include "platform/gui/AccessibleRole.h"

#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

namespace quarn {

namespace {

constexpr char RoleProperty[] = "quarnAccessibleRole";

QAccessibleInterface* WidgetWithRole(const QString&, QObject* object) {
    const QVariant role = object->isWidgetType() ? object->property(RoleProperty) : QVariant();
    if (!role.isValid()) {
        return nullptr;
    }
    return new QAccessibleWidget(static_cast<QWidget*>(object),
                                 static_cast<QAccessible::Role>(role.toInt()));
}

} // namespace

void SetAccessibleRole(QWidget* widget, QAccessible::Role role) {
    // Once per process, before the first widget with a role of its own is asked for its
    // interface.
    static const bool installed = (QAccessible::installFactory(WidgetWithRole), true);
    Q_UNUSED(installed);
    widget->setProperty(RoleProperty, static_cast<int>(role));
}

} // namespace quarn

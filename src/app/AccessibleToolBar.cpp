#include "app/AccessibleToolBar.h"

#include "platform/gui/AccessibleRole.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>

namespace quarn {

void AnnounceToolBar(QToolBar* bar, const QString& name) {
    bar->setAccessibleName(name);
    for (QAction* action : bar->actions()) {
        if (action->isSeparator()) {
            SetAccessibleRole(bar->widgetForAction(action), QAccessible::Separator);
        }
    }
    if (auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"))) {
        more->setAccessibleName(QStringLiteral("More buttons"));
    }
}

} // namespace quarn

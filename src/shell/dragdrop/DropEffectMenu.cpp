#include "shell/dragdrop/DropEffectMenu.h"

#include <QMenu>

namespace quarn {

DWORD ChooseDropEffectFromMenu(DWORD allowed, DWORD preferred, QPoint globalPos) {
    QMenu menu;
    menu.setAccessibleName(QMenu::tr("Drop"));
    const std::pair<DWORD, QString> entries[] = {{DROPEFFECT_COPY, QMenu::tr("&Copy Here")},
                                                 {DROPEFFECT_MOVE, QMenu::tr("&Move Here")},
                                                 {DROPEFFECT_LINK, QMenu::tr("&Link Here")}};
    for (const auto& [effect, text] : entries) {
        if (allowed & effect) {
            QAction* action = menu.addAction(text);
            action->setData(static_cast<uint>(effect));
            if (effect == preferred) {
                menu.setDefaultAction(action);
                menu.setActiveAction(action);
            }
        }
    }
    menu.addSeparator();
    menu.addAction(QMenu::tr("Cancel"))->setData(static_cast<uint>(DROPEFFECT_NONE));
    const QAction* chosen = menu.exec(globalPos, menu.defaultAction());
    return chosen ? chosen->data().toUInt() : DROPEFFECT_NONE;
}

} // namespace quarn

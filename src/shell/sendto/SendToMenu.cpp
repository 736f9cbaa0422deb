#include "shell/sendto/SendToMenu.h"

#include "namespace/ShellConstants.h"
#include "shell/common/SystemImageList.h"
#include "shell/idlist/ShellFolders.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <algorithm>

namespace quarn {

namespace {

QString MenuText(const std::string& name) {
    const std::string text = SendToEntryText(name);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .replace(QLatin1Char('&'), QLatin1String("&&"));
}

QChar FirstLetter(const std::string& name) {
    const QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    return text.isEmpty() ? QChar() : text.front().toUpper();
}

// Closes every open level of the menu, as a menu without an answer to a key does.
void CloseMenu() {
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
}

// Answers the characters typed in a filled Send To submenu.
class SendToKeys final : public QObject {
public:
    SendToKeys(QMenu& popup, const TSendToList& list)
        : QObject(&popup), popup_(popup), list_(list) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &popup_ || event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() != 1 || !text.front().isPrint() || text.front().isSpace() ||
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            return false;
        }
        try {
            Answer(HandleContextMenuChar(text.front(),
                                         popup_.actions().indexOf(popup_.activeAction()), list_));
        } catch (...) {
        }
        return true;
    }

private:
    void Answer(const MenuCharResult& result) {
        if (result.command == MenuCharCommand::Close) {
            CloseMenu();
            return;
        }
        popup_.setActiveAction(popup_.actions().value(result.entry));
        if (result.command == MenuCharCommand::Execute) {
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QCoreApplication::sendEvent(&popup_, &enter);
        }
    }

    QMenu& popup_;
    const TSendToList& list_;
};

void AppendEntries(QMenu& popup, const TSendToList& list) {
    const TSystemImageList* images = GetSystemImageList(TSystemImageList::Small);
    const int count = std::min(list.Count(), MaxSendToEntries);
    for (int i = 0; i < count; ++i) {
        const SendToEntry& entry = list.At(i);
        QAction* action = popup.addAction(MenuText(entry.name));
        action->setData(i + 1);
        if (entry.iconIndex >= 0) {
            action->setIcon(images->Icon(entry.iconIndex));
        }
    }
}

void ConnectPopups(QMenu& menu, const ComPtr<IContextMenu>& contextMenu) {
    for (const QAction* action : menu.actions()) {
        QMenu* popup = action->menu();
        if (popup == nullptr) {
            continue;
        }
        QObject::connect(popup, &QMenu::aboutToShow, popup, [popup, contextMenu] {
            HandleContextMenuInitPopup(*popup, contextMenu.get(), SendToList());
        });
        ConnectPopups(*popup, contextMenu);
    }
}

} // namespace

void HandleContextMenuInitPopup(QMenu& popup, IContextMenu* menu, TSendToList& list) {
    const QList<QAction*> items = popup.actions();
    if (menu == nullptr || items.size() != 1 || items.front()->isEnabled()) {
        return;
    }
    try {
        popup.removeAction(items.front());
        delete items.front();
        list.Clear();
        EnumerateSendToFiles(GetSpecialFolderPath(nullptr, CSIDL_SENDTO), {"*"}, list);
        AppendEntries(popup, list);
        popup.installEventFilter(new SendToKeys(popup, list));
    } catch (...) {
    }
}

MenuCharResult HandleContextMenuChar(QChar ch, int highlighted, const TSendToList& list) {
    const QChar letter = ch.toUpper();
    const int count = std::min(list.Count(), MaxSendToEntries);
    int found = -1;
    int matches = 0;
    for (int step = 1; step <= count; ++step) {
        const int i = (highlighted + step) % count;
        if (FirstLetter(list.At(i).name) == letter) {
            found = found < 0 ? i : found;
            ++matches;
        }
    }
    if (found < 0) {
        return {};
    }
    return {matches > 1 ? MenuCharCommand::Select : MenuCharCommand::Execute, found};
}

void ConnectSendToMenu(QMenu& menu, ComPtr<IContextMenu> contextMenu) {
    ConnectPopups(menu, contextMenu);
}

} // namespace quarn

#include "shell/views/CustomTreeView.h"

#include "shell/common/ShellGuard.h"
#include "shell/menus/ContextMenuKeys.h"
#include "shell/winapi/PlatformVersion.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>

namespace quarn {

namespace {

// comctl32 4.72: tool tips of tree items that work.
constexpr std::uint32_t ToolTipsVersion = 0x40048;

} // namespace

TSCCustomTreeView::TSCCustomTreeView(QWidget* parent) : QTreeView(parent) {
    new TSCCustomDrawHook(this, [this](NMCUSTOMDRAW& notification) {
        LRESULT result = CDRF_DODEFAULT;
        RunShellGuarded([&] { result = CustomDraw(notification); });
        return result;
    });
    // Deep nodes scroll sideways rather than lose their names to an ellipsis.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    AdjustWindowStyle();
}

TSCCustomTreeView::~TSCCustomTreeView() = default;

void TSCCustomTreeView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QTreeView::scrollTo(index, hint);
    if (!index.isValid()) {
        return;
    }
    // Qt scrolls whole columns sideways; a node deep in the one column is brought into view
    // with its expander, its icon and the start of its name.
    const QRect node = visualRect(index);
    const int left = node.left() - indentation();
    const int overRight = node.left() + indentation() * 4 - viewport()->width();
    if (left < 0 || overRight > 0) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + left);
    }
}

void TSCCustomTreeView::AdjustWindowStyle() {
    const auto comCtl32 = static_cast<std::uint32_t>(GetPlatformVersion().comCtl32Version >> 32);
    showsToolTips_ = !(IsWindowsNT() && comCtl32 < ToolTipsVersion);
}

void TSCCustomTreeView::SetColor(const QColor& color) {
    color_ = color;
    ApplyColor();
}

void TSCCustomTreeView::ApplyColor() {
    QPalette colours = viewport()->palette();
    colours.setColor(QPalette::Base, color_.isValid() ? color_ : palette().color(QPalette::Base));
    viewport()->setPalette(colours);
}

void TSCCustomTreeView::changeEvent(QEvent* event) {
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !color_.isValid()) {
        ApplyColor();
    }
}

// Custom draw.

LRESULT TSCCustomTreeView::CustomDraw(NMCUSTOMDRAW& notification) {
    lastCustomDraw_.reset();
    LRESULT result = CDRF_DODEFAULT;
    lastCustomDraw_ = DoCustomDraw(notification, result);
    return result;
}

std::unique_ptr<TSCTvCustomDraw> TSCCustomTreeView::CreateCustomDraw(NMCUSTOMDRAW& notification,
                                                                     LRESULT& result) {
    return std::make_unique<TSCTvCustomDraw>(&notification, &result, font());
}

std::unique_ptr<TSCTvCustomDraw> TSCCustomTreeView::DoCustomDraw(NMCUSTOMDRAW& notification,
                                                                 LRESULT& result) {
    const QModelIndex node = DrawnItem(notification);
    return DispatchCustomDraw<TSCTvCustomDraw>(
        notification, result,
        {BindDrawHandler<TSCTvCustomDraw>(OnCustomDrawSCEx, this, node),
         BindDrawHandler<TSCTvCustomDraw>(OnCustomDrawSC, this, node)},
        [&] { return CreateCustomDraw(notification, result); });
}

// Context menus.

QModelIndex TSCCustomTreeView::SelectedNode() const {
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? current : QModelIndex();
}

void TSCCustomTreeView::PopupAt(QMenu* menu, QPoint pos) {
    menu->setProperty("PopupComponent", QVariant::fromValue<QObject*>(this));
    menu->popup(viewport()->mapToGlobal(pos));
}

void TSCCustomTreeView::DoNodeContextMenu(const QModelIndex& node, QPoint& pos, QMenu*& menu) {
    if (OnNodeContextMenu) {
        OnNodeContextMenu(this, node, pos, menu);
    }
}

void TSCCustomTreeView::ShowContextMenuAt(const QModelIndex& node, QPoint pos) {
    QMenu* menu = popupMenu_;
    DoNodeContextMenu(node, pos, menu);
    if (menu != popupMenu_) {
        ContextMenuShown = true;
    }
    if (menu) {
        PopupAt(menu, pos);
    }
}

void TSCCustomTreeView::ShowSelectionContextMenu() {
    if (const QModelIndex node = SelectedNode(); node.isValid()) {
        ShowContextMenuAt(node, visualRect(node).center());
    } else if (popupMenu_) {
        PopupAt(popupMenu_, QPoint(0, 0));
    }
}

void TSCCustomTreeView::RightClick(QPoint pos) {
    const QModelIndex node = indexAt(pos);
    if (!node.isValid()) {
        return;
    }
    QMenu* menu = popupMenu_;
    DoNodeContextMenu(node, pos, menu);
    if (menu) {
        PopupAt(menu, pos);
    }
    ContextMenuShown = true;
}

// A right click acts on the node under the mouse (the selection stays); the menu that the
// control shows when nothing is selected comes only when no node was hit.
void TSCCustomTreeView::contextMenuEvent(QContextMenuEvent* event) {
    RunShellGuarded([&] {
        event->accept();
        if (event->reason() == QContextMenuEvent::Mouse) {
            RightClick(event->pos());
        }
        if (SelectedNode().isValid() || ContextMenuShown) {
            return;
        }
        if (event->reason() == QContextMenuEvent::Keyboard) {
            ShowSelectionContextMenu();
        } else {
            ShowContextMenuAt(QModelIndex(), event->pos());
        }
    });
}

// The right button leaves the selection as it is, and so does a click on no node.
void TSCCustomTreeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton || !indexAt(event->position().toPoint()).isValid()) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void TSCCustomTreeView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && ContextMenuShown && popupMenu_) {
        ContextMenuShown = false;
    }
    QTreeView::mouseReleaseEvent(event);
}

void TSCCustomTreeView::HandleKeyDown(int& key, Qt::KeyboardModifiers shift) {
    if (IsContextMenuKey(key, shift)) {
        key = 0;
        ShowSelectionContextMenu();
    }
    if (OnKeyDown) {
        OnKeyDown(this, key, shift);
    }
}

void TSCCustomTreeView::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    RunShellGuarded([&] { HandleKeyDown(key, event->modifiers()); });
    if (key == 0) {
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

bool TSCCustomTreeView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip && !showsToolTips_) {
        event->ignore();
        return true;
    }
    return QTreeView::viewportEvent(event);
}

} // namespace quarn

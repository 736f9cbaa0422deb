#include "shell/dragdrop/ViewDragDrop.h"

#include "shell/common/ShellGuard.h"
#include "shell/dragdrop/DragKeys.h"
#include "shell/dragdrop/DragMimeData.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QScopedValueRollback>

namespace quarn {

namespace {

POINTL ScreenPoint(const QWidget& viewport, QPointF point) {
    const QPoint screen = viewport.mapToGlobal(point.toPoint());
    return {screen.x(), screen.y()};
}

} // namespace

TSCViewDragDrop::TSCViewDragDrop(QObject* parent) : QObject(parent) {
    restTimer_.setInterval(RestTickMs);
    connect(&restTimer_, &QTimer::timeout, this,
            [this] { RunShellGuarded([this] { DragRests(restPoint_); }); });
}

void TSCViewDragDrop::Watch(QAbstractItemView& view) {
    view.viewport()->installEventFilter(this);
    view.viewport()->setAcceptDrops(true);
    if (view_ == nullptr) {
        view_ = &view;
    }
}

bool TSCViewDragDrop::eventFilter(QObject* watched, QEvent* event) {
    if (replaying_) {
        return false;
    }
    auto* view = qobject_cast<QAbstractItemView*>(watched->parent());
    if (view == nullptr) {
        return false;
    }
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
        view_ = view;
        return DragEvent(event);
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
    case QEvent::ContextMenu:
        if (event->type() == QEvent::MouseButtonPress) {
            view_ = view;
        }
        return view == view_ && MouseEvent(event);
    default:
        return false;
    }
}

void TSCViewDragDrop::ApplyEffect(QDropEvent& event, HRESULT hr, DWORD effect, bool acceptAlways) {
    const Qt::DropAction action = Failed(hr) ? Qt::IgnoreAction : DropActionOf(effect);
    event.setDropAction(action);
    event.setAccepted(acceptAlways || action != Qt::IgnoreAction);
}

bool TSCViewDragDrop::DragEvent(QEvent* event) {
    QWidget& viewport = *view_->viewport();
    if (event->type() == QEvent::DragLeave) {
        restTimer_.stop();
        RunShellGuarded([this] { OleDragLeave(); });
        return true;
    }
    auto& drop = *static_cast<QDropEvent*>(event);
    const DWORD keyState = KeyStateOf(drop.buttons(), drop.modifiers());
    const POINTL point = ScreenPoint(viewport, drop.position());
    restPoint_ = drop.position().toPoint();
    DWORD effect = EffectsOf(drop.possibleActions());
    HRESULT hr = E_FAIL;
    if (event->type() == QEvent::DragEnter &&
        (!AcceptsDrops() || !CarriesItems(*drop.mimeData()))) {
        drop.ignore();
        return true;
    }
    const bool handled = RunShellGuarded([&] {
        if (event->type() == QEvent::DragEnter) {
            hr = OleDragEnter(DataObjectOf(*drop.mimeData()).get(), keyState, point, &effect);
            restTimer_.start();
        } else if (event->type() == QEvent::DragMove) {
            hr = OleDragOver(keyState, point, &effect);
        } else {
            restTimer_.stop();
            hr = OleDrop(DataObjectOf(*drop.mimeData()).get(), keyState, point, &effect);
        }
    });
    if (!handled) {
        effect = DROPEFFECT_NONE;
    }
    ApplyEffect(drop, hr, effect & ~DROPEFFECT_SCROLL, event->type() == QEvent::DragEnter);
    return true;
}

bool TSCViewDragDrop::MouseEvent(QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        auto& menu = *static_cast<QContextMenuEvent*>(event);
        if (pressButton_ != Qt::RightButton || menu.reason() != QContextMenuEvent::Mouse) {
            return false;
        }
        heldMenu_ = std::make_unique<QContextMenuEvent>(menu.reason(), menu.pos(), menu.globalPos(),
                                                        menu.modifiers());
        return true;
    }
    auto& mouse = *static_cast<QMouseEvent*>(event);
    const QPoint point = mouse.position().toPoint();
    if (event->type() == QEvent::MouseButtonPress) {
        EndPress();
        const QModelIndex index = view_->indexAt(point);
        if ((mouse.button() != Qt::LeftButton && mouse.button() != Qt::RightButton) ||
            !CanDragFrom(index)) {
            return false;
        }
        pressButton_ = mouse.button();
        pressPoint_ = point;
        pressIndex_ = index;
        const bool keepSelection = mouse.button() == Qt::LeftButton &&
                                   mouse.modifiers() == Qt::NoModifier &&
                                   view_->selectionModel()->isSelected(index);
        if (keepSelection) {
            heldPress_.reset(mouse.clone());
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::MouseMove) {
        if (pressButton_ == Qt::NoButton || !(mouse.buttons() & pressButton_) ||
            (point - pressPoint_).manhattanLength() < QApplication::startDragDistance()) {
            return false;
        }
        const int buttonKind = pressButton_ == Qt::RightButton ? 1 : 0;
        pressButton_ = Qt::NoButton;
        heldPress_.reset();
        heldMenu_.reset();
        const QModelIndex pressed = pressIndex_;
        RunShellGuarded([&] { BeginOleDrag(buttonKind, pressed); });
        return true;
    }
    // The button came up without a drag: the view gets what it was kept from.
    if (mouse.button() == pressButton_) {
        EndPress();
    }
    return false;
}

void TSCViewDragDrop::EndPress() {
    pressButton_ = Qt::NoButton;
    const std::unique_ptr<QMouseEvent> press = std::move(heldPress_);
    const std::unique_ptr<QContextMenuEvent> menu = std::move(heldMenu_);
    const QScopedValueRollback replaying(replaying_, true);
    if (press) {
        QApplication::sendEvent(view_->viewport(), press.get());
    }
    if (menu) {
        QApplication::sendEvent(view_->viewport(), menu.get());
    }
}

} // namespace quarn

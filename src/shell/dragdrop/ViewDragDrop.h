#pragma once

#include "shell/dragdrop/DataTransfer.h"

#include <QMouseEvent>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPoint>
#include <QTimer>
#include <memory>

class QAbstractItemView;
class QDropEvent;

namespace quarn {

// Drag and drop of a control's item views through Qt: a drag starts when the pointer moves
// with the left or right button held from an item that may be dragged (a press on a selected
// item keeps the selection until the button comes up without a drag; the right button's
// context menu waits for that too); Qt's drag events become the OLE-shaped calls below with
// the drag's data object, key state and screen point; and while a drag rests over a view a
// timer keeps the work of the resting pointer (scrolling, expanding) going. No exception
// leaves a drag handler: a failing call answers "none".
class TSCViewDragDrop : public QObject {
    Q_OBJECT

public:
    static constexpr int RestTickMs = 50;

    explicit TSCViewDragDrop(QObject* parent);
    // Watches the view's viewport for the mouse and for drops.
    void Watch(QAbstractItemView& view);

    virtual HRESULT OleDragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                 DWORD* effect) = 0;
    virtual HRESULT OleDragOver(DWORD keyState, POINTL point, DWORD* effect) = 0;
    virtual HRESULT OleDragLeave() = 0;
    virtual HRESULT OleDrop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) = 0;

protected:
    virtual bool AcceptsDrops() const = 0;
    virtual bool CanDragFrom(const QModelIndex& index) const = 0;
    // buttonKind: 0 left, 1 right; pressed: the item the button went down on.
    virtual void BeginOleDrag(int buttonKind, const QModelIndex& pressed) = 0;
    // The pointer rests at point (the viewport's coordinates) during a drag.
    virtual void DragRests(QPoint point) = 0;

    // The view the current drag or press is over.
    QAbstractItemView* View() const { return view_; }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool DragEvent(QEvent* event);
    bool MouseEvent(QEvent* event);
    void ApplyEffect(QDropEvent& event, HRESULT hr, DWORD effect, bool acceptAlways);
    void EndPress();

    QAbstractItemView* view_ = nullptr;
    QTimer restTimer_;
    QPoint restPoint_;
    // The press a drag may start from, and what it kept from the view.
    Qt::MouseButton pressButton_ = Qt::NoButton;
    QPoint pressPoint_;
    QPersistentModelIndex pressIndex_;
    std::unique_ptr<QMouseEvent> heldPress_;
    std::unique_ptr<QContextMenuEvent> heldMenu_;
    bool replaying_ = false;
};

} // namespace quarn

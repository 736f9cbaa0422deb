#include "shell/dragdrop/DropSource.h"

#include "shell/dragdrop/DragKeys.h"
#include "shell/dragdrop/DragMimeData.h"

#include <QCursor>
#include <QDrag>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

namespace quarn {

namespace {

// Qt runs the drag's loop; the drop source is asked this often whether to go on.
constexpr int ButtonCheckMs = 50;

} // namespace

HRESULT TDropSource_shlvtv::QueryContinueDrag(bool escapePressed, DWORD keyState) {
    const DWORD buttons = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;
    if (escapePressed || (keyState & buttons & ~dragButton_)) {
        return DRAGDROP_S_CANCEL;
    }
    if (!(keyState & dragButton_)) {
        return DRAGDROP_S_DROP;
    }
    return S_OK;
}

HRESULT TDropSource_shlvtv::GiveFeedback(DWORD) {
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

TDragLoop& DragLoop() {
    static TDragLoop loop = [](QDrag& drag, Qt::DropActions actions, Qt::DropAction preferred) {
        return drag.exec(actions, preferred);
    };
    return loop;
}

ComPtr<IDropSource> CreateDropSource(int buttonKind) {
    return MakeCom<TDropSource_shlvtv>(buttonKind);
}

HRESULT DoDragDrop(QWidget* source, IDataObject* data, IDropSource* dropSource, DWORD allowed,
                   DWORD* effect) {
    auto* drag = new QDrag(source);
    drag->setMimeData(new TSCDataObjectMimeData(data));
    QTimer buttons;
    QObject::connect(&buttons, &QTimer::timeout, [dropSource] {
        const DWORD keyState =
            KeyStateOf(QGuiApplication::mouseButtons(), QGuiApplication::queryKeyboardModifiers());
        if (dropSource->QueryContinueDrag(false, keyState) == DRAGDROP_S_CANCEL) {
            QDrag::cancel();
        }
    });
    buttons.start(ButtonCheckMs);
    Qt::DropActions actions;
    actions |= (allowed & DROPEFFECT_COPY) ? Qt::CopyAction : Qt::IgnoreAction;
    actions |= (allowed & DROPEFFECT_MOVE) ? Qt::MoveAction : Qt::IgnoreAction;
    actions |= (allowed & DROPEFFECT_LINK) ? Qt::LinkAction : Qt::IgnoreAction;
    const Qt::DropAction done = DragLoop()(*drag, actions, DropActionOf(allowed));
    *effect = EffectsOf(done);
    return done == Qt::IgnoreAction ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
}

} // namespace quarn

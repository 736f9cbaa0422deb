#pragma once

#include "shell/dragdrop/DataTransfer.h"

#include <Qt>
#include <functional>

class QDrag;
class QWidget;

namespace quarn {

// Follows the one mouse button that started a drag: Escape or another button cancels it,
// releasing the drag button drops.
class TDropSource_shlvtv : public ComObject<IDropSource> {
public:
    // buttonKind: 0 left, 1 right.
    explicit TDropSource_shlvtv(int buttonKind)
        : dragButton_(buttonKind == 1 ? MK_RBUTTON : MK_LBUTTON) {}

    HRESULT QueryInterface(const IID& iid, void** object) override {
        return QueryOwnInterface<IDropSource>(this, iid, object);
    }
    HRESULT QueryContinueDrag(bool escapePressed, DWORD keyState) override;
    HRESULT GiveFeedback(DWORD effect) override;

private:
    DWORD dragButton_;
};

ComPtr<IDropSource> CreateDropSource(int buttonKind);

// Runs Qt's drag loop: QDrag::exec, unless a test puts another in its place.
using TDragLoop =
    std::function<Qt::DropAction(QDrag& drag, Qt::DropActions actions, Qt::DropAction preferred)>;
TDragLoop& DragLoop();

// Runs a drag of the data object from source with Qt until it is dropped or cancelled;
// DRAGDROP_S_DROP with the effect done, or DRAGDROP_S_CANCEL.
HRESULT DoDragDrop(QWidget* source, IDataObject* data, IDropSource* dropSource, DWORD allowed,
                   DWORD* effect);

} // namespace quarn

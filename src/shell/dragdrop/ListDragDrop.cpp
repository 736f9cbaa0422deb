#include "shell/dragdrop/ListDragDrop.h"

#include "platform/gui/Hourglass.h"
#include "shell/dragdrop/DropHighlight.h"
#include "shell/dragdrop/DropSource.h"
#include "shell/dragdrop/DroppedItems.h"
#include "shell/dragdrop/FolderDropTarget.h"
#include "shell/dragdrop/ShellItemsDataObject.h"
#include "shell/idlist/PidlRoutines.h"
#include "shell/list/ShellList.h"
#include "shell/list/ShellListData.h"

#include <QAbstractItemView>
#include <QCursor>
#include <QScopeGuard>

namespace quarn {

TSCListDragDrop::TSCListDragDrop(TSCCustomShellList& list,
                                 const std::vector<QAbstractItemView*>& views)
    : TSCViewDragDrop(&list), list_(list) {
    for (QAbstractItemView* view : views) {
        highlights_[view] = new TSCDropHighlight(*view);
        Watch(*view);
    }
}

bool TSCListDragDrop::AcceptsDrops() const {
    return list_.Options() & scsloOleDrop;
}

bool TSCListDragDrop::CanDragFrom(const QModelIndex& index) const {
    return (list_.Options() & scsloOleDrag) && index.isValid() && list_.IsShellItem(index.row());
}

int TSCListDragDrop::DropHighlightRow() const {
    for (const auto& [view, highlight] : highlights_) {
        if (highlight->Index().isValid()) {
            return highlight->Index().row();
        }
    }
    return -1;
}

void TSCListDragDrop::BeginOleDrag(int buttonKind, const QModelIndex& pressed) {
    if (!CanDragFrom(pressed) || !list_.IsSelected(pressed.row())) {
        return;
    }
    list_.SetBusy(true);
    bool dropped = false;
    const auto end = qScopeGuard([&] {
        const bool pending = list_.RefreshPending();
        list_.SetBusy(false); // runs a pending refresh
        if (dropped && !pending) {
            list_.Refresh();
        }
        if (dropped || pending) {
            list_.Resort();
        }
    });
    const ComPtr<IDataObject> data = MakeCom<TDataObject_shlv>(list_);
    const DWORD allowed = list_.GetAllowedDropEffects();
    DWORD effect = DROPEFFECT_NONE;
    dropped = DoDragDrop(&list_, data.get(), CreateDropSource(buttonKind).get(), allowed,
                         &effect) == DRAGDROP_S_DROP;
}

ComPtr<IDropTarget> TSCListDragDrop::FolderTarget() const {
    return GetItemDropTarget(list_.CurrentAbsolutePidl());
}

TSCListDragDrop::Lookup TSCListDragDrop::TargetAt(POINTL point, DWORD keyState,
                                                  LookupFor use) const {
    QAbstractItemView& view = *View();
    const QModelIndex index =
        view.indexAt(view.viewport()->mapFromGlobal(QPoint(point.x, point.y)));
    if (index.isValid() && list_.IsShellItem(index.row())) {
        const PidlPtr absolute(JoinPidls(nullptr, list_.CurrentAbsolutePidl(),
                                         list_.GetItemData(index.row())->RelativePidl()));
        if (ComPtr<IDropTarget> item = GetItemDropTarget(absolute.get())) {
            return {item, index.row()};
        }
        return {FolderTarget()};
    }
    if (index.isValid()) {
        return {nullptr, -1, use == LookupFor::Over};
    }
    if (!list_.Busy()) {
        return {FolderTarget()};
    }
    if (use == LookupFor::Drop) {
        return {(dragEnterKeyState_ & MK_RBUTTON) ? FolderTarget() : nullptr, -1, false, true};
    }
    return {nullptr, -1, (keyState & MK_RBUTTON) != 0};
}

void TSCListDragDrop::Highlight(int row) {
    for (const auto& [view, highlight] : highlights_) {
        const QModelIndex index =
            view == View() && row >= 0 ? list_.Items().index(row, 0) : QModelIndex();
        if (highlight->Set(index)) {
            view->viewport()->repaint();
        }
    }
}

HRESULT TSCListDragDrop::OleDragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                      DWORD* effect) {
    scroller_.Restart();
    dragOverData_ = ComPtr<IDataObject>(data);
    dragEnterKeyState_ = keyState;
    const Lookup found = TargetAt(point, keyState, LookupFor::Enter);
    Highlight(-1);
    if (found.copyAtOnce) {
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    if (!found.target) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    const HRESULT hr = found.target->DragEnter(data, keyState, point, effect);
    found.target->DragLeave();
    Highlight(*effect != DROPEFFECT_NONE ? found.row : -1);
    return hr;
}

HRESULT TSCListDragDrop::OleDragOver(DWORD keyState, POINTL point, DWORD* effect) {
    const Lookup found = TargetAt(point, keyState, LookupFor::Over);
    if (found.copyAtOnce) {
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT hr = S_OK;
    if (found.target) {
        found.target->DragEnter(dragOverData_.get(), keyState, point, effect);
        hr = found.target->DragOver(keyState, point, effect);
        found.target->DragLeave();
        Highlight(*effect != DROPEFFECT_NONE ? found.row : -1);
    } else {
        *effect = DROPEFFECT_NONE;
        Highlight(-1);
    }
    DragRests(View()->viewport()->mapFromGlobal(QPoint(point.x, point.y)));
    *effect |= DROPEFFECT_SCROLL;
    return hr;
}

void TSCListDragDrop::DragRests(QPoint point) {
    scroller_.Scroll(*View(), point);
}

HRESULT TSCListDragDrop::OleDragLeave() {
    dragOverData_.reset();
    Highlight(-1);
    return S_OK;
}

HRESULT TSCListDragDrop::OleDrop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    const auto end = qScopeGuard([this] { OleDragLeave(); });
    const Lookup found = TargetAt(point, keyState, LookupFor::Drop);
    if (!found.target) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    if (found.withoutMove) {
        *effect &= ~DROPEFFECT_MOVE;
    }
    keyState |= dragEnterKeyState_ & (MK_LBUTTON | MK_RBUTTON);
    DWORD scratch = *effect;
    found.target->DragEnter(data, keyState, point, &scratch);
    found.target->DragOver(keyState, point, &scratch);
    *effect &= ReadShellIdList(data);
    HRESULT hr;
    {
        Hourglass hourglass;
        hr = found.target->Drop(data, keyState, point, effect);
    }
    list_.Refresh();
    return hr;
}

} // namespace quarn

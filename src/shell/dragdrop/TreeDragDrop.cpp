#include "shell/dragdrop/TreeDragDrop.h"

#include "platform/gui/Hourglass.h"
#include "shell/common/ScopedIncrement.h"
#include "shell/dragdrop/DropHighlight.h"
#include "shell/dragdrop/DropSource.h"
#include "shell/dragdrop/DroppedItems.h"
#include "shell/dragdrop/FolderDropTarget.h"
#include "shell/dragdrop/ShellItemsDataObject.h"
#include "shell/tree/ShellTree.h"
#include "shell/tree/ShellTreeData.h"

#include <QCursor>
#include <QScopeGuard>

namespace quarn {

namespace {

constexpr DWORD AllEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

// The copy, move and link effects the node's item allows.
DWORD AllowedEffects(TSCShellTreeNode& node) {
    TSCShTreeData& data = *node.Data();
    IShellFolder* parent = data.ParentData()->GetFolder();
    LPCITEMIDLIST item = data.RelativePidl();
    SFGAOF attributes = AllEffects;
    if (parent == nullptr || Failed(parent->GetAttributesOf(1, &item, &attributes))) {
        return DROPEFFECT_NONE;
    }
    return attributes & AllEffects;
}

} // namespace

TSCTreeDragDrop::TSCTreeDragDrop(TSCCustomShellTree& tree)
    : TSCViewDragDrop(&tree), tree_(tree), highlight_(new TSCDropHighlight(tree)), scroller_() {
    Watch(tree);
}

bool TSCTreeDragDrop::AcceptsDrops() const {
    return tree_.Options() & scstoOleDrop;
}

bool TSCTreeDragDrop::CanDragFrom(const QModelIndex& index) const {
    const TSCShellTreeNode* node = tree_.Items().NodeOf(index);
    return (tree_.Options() & scstoOleDrag) && node != nullptr && node->Data() != nullptr &&
           node->Data()->ParentData() != nullptr;
}

TSCShellTreeNode* TSCTreeDragDrop::DropHighlight() const {
    return tree_.Items().NodeOf(highlight_->Index());
}

void TSCTreeDragDrop::BeginOleDrag(int buttonKind, const QModelIndex& pressed) {
    if (!CanDragFrom(pressed)) {
        return;
    }
    dragNode_ = tree_.Items().NodeOf(pressed);
    tree_.SetBusy(true);
    bool dropped = false;
    const auto end = qScopeGuard([&] {
        dragNode_ = nullptr;
        const bool pending = tree_.RefreshPending();
        tree_.SetBusy(false); // runs a pending refresh
        if (dropped && !pending) {
            tree_.Refresh();
        }
    });
    const ComPtr<IDataObject> data = MakeCom<TDataObject_shtv>(*dragNode_);
    const DWORD allowed = AllowedEffects(*dragNode_);
    DWORD effect = DROPEFFECT_NONE;
    dropped = DoDragDrop(&tree_, data.get(), CreateDropSource(buttonKind).get(), allowed,
                         &effect) == DRAGDROP_S_DROP;
}

TSCShellTreeNode* TSCTreeDragDrop::ShellNodeAt(POINTL point) const {
    const QPoint client = tree_.viewport()->mapFromGlobal(QPoint(point.x, point.y));
    TSCShellTreeNode* node = tree_.Items().NodeOf(tree_.indexAt(client));
    return node != nullptr && node->Data() != nullptr ? node : nullptr;
}

ComPtr<IDropTarget> TSCTreeDragDrop::NodeDropTarget(TSCShellTreeNode* node) const {
    return GetItemDropTarget(node->Data()->GetAbsolutePidl());
}

void TSCTreeDragDrop::Highlight(TSCShellTreeNode* node) {
    if (highlight_->Set(node ? tree_.Items().IndexOf(node) : QModelIndex())) {
        tree_.viewport()->repaint();
    }
}

HRESULT TSCTreeDragDrop::OleDragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                      DWORD* effect) {
    scroller_.Restart();
    dragOverData_ = ComPtr<IDataObject>(data);
    dragEnterKeyState_ = keyState;
    hoverPoint_.reset();
    TSCShellTreeNode* node = ShellNodeAt(point);
    if (node == nullptr || node == tree_.RootNode()) {
        Highlight(dragNode_);
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    Highlight(node);
    const ComPtr<IDropTarget> target = NodeDropTarget(node);
    if (!target) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    const HRESULT hr = target->DragEnter(data, keyState, point, effect);
    target->DragLeave();
    return hr;
}

HRESULT TSCTreeDragDrop::OleDragOver(DWORD keyState, POINTL point, DWORD* effect) {
    HRESULT hr = S_OK;
    TSCShellTreeNode* node = ShellNodeAt(point);
    const ComPtr<IDropTarget> target = node ? NodeDropTarget(node) : nullptr;
    Highlight(node ? node : dragNode_);
    if (target) {
        target->DragEnter(dragOverData_.get(), keyState, point, effect);
        hr = target->DragOver(keyState, point, effect);
        target->DragLeave();
    } else {
        *effect = DROPEFFECT_NONE;
    }
    DragScrollExpand(tree_.viewport()->mapFromGlobal(QPoint(point.x, point.y)));
    *effect |= DROPEFFECT_SCROLL;
    return hr;
}

HRESULT TSCTreeDragDrop::OleDragLeave() {
    dragOverData_.reset();
    Highlight(nullptr);
    return S_OK;
}

HRESULT TSCTreeDragDrop::OleDrop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    const auto end = qScopeGuard([this] { OleDragLeave(); });
    TSCShellTreeNode* node = ShellNodeAt(point);
    const ComPtr<IDropTarget> target = node ? NodeDropTarget(node) : nullptr;
    if (!target) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    keyState |= dragEnterKeyState_ & (MK_LBUTTON | MK_RBUTTON);
    DWORD scratch = *effect;
    target->DragEnter(data, keyState, point, &scratch);
    target->DragOver(keyState, point, &scratch);
    *effect &= ReadShellIdList(data);
    HRESULT hr;
    {
        Hourglass hourglass;
        hr = target->Drop(data, keyState, point, effect);
    }
    tree_.Refresh();
    return hr;
}

void TSCTreeDragDrop::DragScrollExpand(QPoint point) {
    if (scroller_.Scroll(tree_, point)) {
        hoverTime_.start();
    }
    const bool inside = hoverPoint_ && point.x() >= hoverPoint_->x() - HoverWidth / 2 &&
                        point.y() >= hoverPoint_->y() - HoverHeight / 2 &&
                        point.x() < hoverPoint_->x() + HoverWidth &&
                        point.y() < hoverPoint_->y() + HoverHeight;
    if (!inside) {
        hoverPoint_ = point;
        hoverTime_.start();
        return;
    }
    if (hoverTime_.elapsed() > HoverTimeMs) {
        ExpandResting();
        hoverPoint_ = point;
        hoverTime_.start();
    }
}

void TSCTreeDragDrop::ExpandResting() {
    TSCShellTreeNode* node = tree_.Items().NodeOf(tree_.indexAt(*hoverPoint_));
    if (node == nullptr || tree_.isExpanded(tree_.Items().IndexOf(node))) {
        return;
    }
    ScopedIncrement noOwner(tree_.noOwnerWindowCount_);
    try {
        tree_.FillOnExpand(node);
        tree_.expand(tree_.Items().IndexOf(node));
    } catch (...) {
        tree_.Items().SetHasChildren(node, false);
    }
}

} // namespace quarn

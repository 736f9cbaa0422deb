#pragma once

#include "shell/dragdrop/DragScroll.h"
#include "shell/dragdrop/ViewDragDrop.h"

#include <QElapsedTimer>
#include <optional>

namespace quarn {

class TSCCustomShellTree;
class TSCDropHighlight;
class TSCShellTreeNode;

// Drag and drop of the folder tree: a node (never the root) is dragged with its data object;
// drops go to the folder of the node under the pointer, with the highlight on that node;
// near the edges the tree scrolls, and a node the pointer rests on is expanded.
class TSCTreeDragDrop : public TSCViewDragDrop {
    Q_OBJECT

public:
    // The pointer rests within this rectangle this long before the node under it expands.
    static constexpr int HoverTimeMs = 400;
    static constexpr int HoverWidth = 2;
    static constexpr int HoverHeight = 2;

    explicit TSCTreeDragDrop(TSCCustomShellTree& tree);

    HRESULT OleDragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT OleDragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT OleDragLeave() override;
    HRESULT OleDrop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    // point in the viewport's coordinates.
    void DragScrollExpand(QPoint point);

    TSCShellTreeNode* DropHighlight() const;

protected:
    bool AcceptsDrops() const override;
    bool CanDragFrom(const QModelIndex& index) const override;
    void BeginOleDrag(int buttonKind, const QModelIndex& pressed) override;
    void DragRests(QPoint point) override { DragScrollExpand(point); }

private:
    // The shell node under a screen point; none for other nodes and empty space.
    TSCShellTreeNode* ShellNodeAt(POINTL point) const;
    ComPtr<IDropTarget> NodeDropTarget(TSCShellTreeNode* node) const;
    void Highlight(TSCShellTreeNode* node);
    void ExpandResting();

    TSCCustomShellTree& tree_;
    TSCDropHighlight* highlight_;
    TSCDragScroller scroller_;
    TSCShellTreeNode* dragNode_ = nullptr;
    ComPtr<IDataObject> dragOverData_;
    DWORD dragEnterKeyState_ = 0;
    std::optional<QPoint> hoverPoint_;
    QElapsedTimer hoverTime_;
};

} // namespace quarn

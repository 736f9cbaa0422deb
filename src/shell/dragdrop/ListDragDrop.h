#pragma once

#include "shell/dragdrop/DragScroll.h"
#include "shell/dragdrop/ViewDragDrop.h"

#include <map>
#include <vector>

namespace quarn {

class TSCCustomShellList;
class TSCDropHighlight;

// Drag and drop of the file list: the selected shell items are dragged with their data
// object; drops go to the folder item under the pointer, else to the folder shown. The
// list's own items dragged over its empty space only take a right-button drop (without
// move). Near the edges the view scrolls.
class TSCListDragDrop : public TSCViewDragDrop {
    Q_OBJECT

public:
    TSCListDragDrop(TSCCustomShellList& list, const std::vector<QAbstractItemView*>& views);

    HRESULT OleDragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT OleDragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT OleDragLeave() override;
    HRESULT OleDrop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

    // The row the drop highlight is on; -1 for none.
    int DropHighlightRow() const;

protected:
    bool AcceptsDrops() const override;
    bool CanDragFrom(const QModelIndex& index) const override;
    void BeginOleDrag(int buttonKind, const QModelIndex& pressed) override;
    void DragRests(QPoint point) override;

private:
    // What the pointer is over: the drop target found (none when the lookup fails), the row
    // to highlight (-1 for none), whether the answer is a plain copy without a target, and
    // whether a drop there may not move.
    struct Lookup {
        ComPtr<IDropTarget> target;
        int row = -1;
        bool copyAtOnce = false;
        bool withoutMove = false;
    };
    enum class LookupFor { Enter, Over, Drop };
    Lookup TargetAt(POINTL point, DWORD keyState, LookupFor use) const;
    ComPtr<IDropTarget> FolderTarget() const;
    void Highlight(int row);

    TSCCustomShellList& list_;
    std::map<QAbstractItemView*, TSCDropHighlight*> highlights_;
    TSCDragScroller scroller_;
    ComPtr<IDataObject> dragOverData_;
    DWORD dragEnterKeyState_ = 0;
};

} // namespace quarn

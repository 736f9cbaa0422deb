#pragma once

#include "platform/FileOperationResult.h"
#include "shell/dragdrop/DataTransfer.h"

#include <string>
#include <vector>

namespace quarn {

// The drop target of a file-system folder: items dropped on it are copied, moved or linked
// there (DropOnFolder), with the effect the keys choose among those the drag allows; a drop
// made with the right button asks with the Copy/Move/Link/Cancel menu. Refusals are shown
// one message each (ShowDropRefusal).
class TSCFolderDropTarget : public ComObject<IDropTarget> {
public:
    explicit TSCFolderDropTarget(std::string folder) : folder_(std::move(folder)) {}

    HRESULT QueryInterface(const IID& iid, void** object) override {
        return QueryOwnInterface<IDropTarget>(this, iid, object);
    }
    HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT DragLeave() override;
    HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

private:
    // What the items may do here: none when there are none or one is the folder or above it.
    DWORD AllowedHere(const std::vector<std::string>& paths, DWORD allowed) const;

    std::string folder_;
    std::vector<std::string> paths_; // of the drag that entered
    DWORD allowed_ = DROPEFFECT_NONE;
};

// The message box of an item that a drop refused, answered with the ordinary pointer over the
// drop's hourglass. While more items follow it offers Cancel, which ends the drop there.
// Answers whether the drop goes on.
bool ShowDropRefusal(const FileOperationResult& refusal, bool moreFollow);

// The drop target of the item an absolute list names: a folder's when it is a file-system
// folder, else none.
ComPtr<IDropTarget> GetItemDropTarget(LPCITEMIDLIST absolutePidl);

} // namespace quarn

#include "shell/dragdrop/FolderDropTarget.h"

#include "namespace/RefusalMessage.h"
#include "platform/RealPaths.h"
#include "platform/gui/Hourglass.h"
#include "shell/dragdrop/DropEffectMenu.h"
#include "shell/dragdrop/DropOperation.h"
#include "shell/dragdrop/DroppedItems.h"
#include "shell/idlist/ShellFolders.h"

#include <filesystem>

namespace quarn {

namespace {

DWORD EffectFor(DWORD keyState, DWORD allowed, const std::string& folder,
                const std::vector<std::string>& paths) {
    return ChooseDropEffect(keyState, allowed, OnFileSystemOf(folder, paths));
}

} // namespace

DWORD TSCFolderDropTarget::AllowedHere(const std::vector<std::string>& paths, DWORD allowed) const {
    if (paths.empty()) {
        return DROPEFFECT_NONE;
    }
    for (const std::string& path : paths) {
        if (FolderLiesWithin(folder_, path)) {
            return DROPEFFECT_NONE;
        }
    }
    return allowed & (DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
}

HRESULT TSCFolderDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                       DWORD* effect) {
    paths_ = DroppedPaths(data);
    allowed_ = AllowedHere(paths_, *effect);
    return DragOver(keyState, point, effect);
}

HRESULT TSCFolderDropTarget::DragOver(DWORD keyState, POINTL, DWORD* effect) {
    *effect = EffectFor(keyState, allowed_ & *effect, folder_, paths_);
    return S_OK;
}

HRESULT TSCFolderDropTarget::DragLeave() {
    paths_.clear();
    allowed_ = DROPEFFECT_NONE;
    return S_OK;
}

HRESULT TSCFolderDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    const std::vector<std::string> paths = DroppedPaths(data);
    const DWORD allowed = AllowedHere(paths, *effect);
    DWORD chosen = EffectFor(keyState & ~MK_RBUTTON, allowed, folder_, paths);
    if ((keyState & MK_RBUTTON) && allowed != DROPEFFECT_NONE) {
        chosen = ChooseDropEffectFromMenu(allowed, chosen, QPoint(point.x, point.y));
    }
    DragLeave();
    const Hourglass hourglass;
    *effect = DropOnFolder(folder_, paths, chosen, ShowDropRefusal).effect;
    return S_OK;
}

bool ShowDropRefusal(const FileOperationResult& refusal, bool moreFollow) {
    const ArrowCursor arrow;
    return ShowRefusal(refusal.message, moreFollow);
}

ComPtr<IDropTarget> GetItemDropTarget(LPCITEMIDLIST absolutePidl) {
    const std::string path = PidlToPath(absolutePidl);
    std::error_code error;
    if (path.empty() || !std::filesystem::is_directory(path, error)) {
        return nullptr;
    }
    return MakeCom<TSCFolderDropTarget>(path);
}

} // namespace quarn

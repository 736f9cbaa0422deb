#include "shell/SendToDrop.h"

#include "namespace/ShellConstants.h"
#include "shell/FolderDropTarget.h"
#include "shell/ShellErrors.h"
#include "shell/ShellUtils.h"

namespace quarn {

void DropDataObject(const std::string& name, IDataObject* data) {
    LPITEMIDLIST raw = nullptr;
    OleCheck(GetSpecialFolderPidl(nullptr, CSIDL_SENDTO, raw));
    const PidlPtr sendTo(raw);
    ComPtr<IShellFolder> folder;
    OleCheck(GetPidlFolder(sendTo.get(), folder));
    LPITEMIDLIST child = nullptr;
    OleCheck(folder->ParseDisplayName(nullptr, nullptr, name, nullptr, &child, nullptr));
    const PidlPtr entry(child);
    const PidlPtr absolute(JoinPidls(nullptr, sendTo.get(), entry.get()));
    const ComPtr<IDropTarget> target = GetItemDropTarget(absolute.get());
    if (!target) {
        throw EOleSysError(E_NOINTERFACE);
    }
    DWORD effect = DROPEFFECT_COPY;
    OleCheck(target->DragEnter(data, MK_LBUTTON, {}, &effect));
    OleCheck(target->DragOver(MK_LBUTTON, {}, &effect));
    OleCheck(target->Drop(data, MK_LBUTTON, {}, &effect));
}

} // namespace quarn

#include "shell/sendto/DropDataObject.h"

#include "namespace/ShellConstants.h"
#include "platform/gui/Hourglass.h"
#include "shell/common/ShellErrors.h"
#include "shell/dragdrop/DroppedItems.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/sendto/SendToTarget.h"

namespace quarn {

void DropDataObject(const std::string& name, IDataObject* data) {
    LPITEMIDLIST list = nullptr;
    OleCheck(GetSpecialFolderPidl(nullptr, CSIDL_SENDTO, list));
    const PidlPtr folderList(list);
    ComPtr<IShellFolder> folder;
    OleCheck(GetPidlFolder(folderList.get(), folder));
    LPITEMIDLIST entry = nullptr;
    OleCheck(folder->ParseDisplayName(nullptr, nullptr, name, nullptr, &entry, nullptr));
    const PidlPtr entryList(entry);
    const std::vector<std::string> paths = DroppedPaths(data);
    if (paths.empty()) {
        return;
    }
    const Hourglass busy;
    SendFilesTo(PidlToPath(folderList.get()) + "/" + name, paths);
}

} // namespace quarn

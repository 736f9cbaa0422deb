#include "shell/DropDataObject.h"

#include "namespace/ShellConstants.h"
#include "shell/DroppedItems.h"
#include "shell/Hourglass.h"
#include "shell/SendToTarget.h"
#include "shell/ShellErrors.h"
#include "shell/ShellUtils.h"

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

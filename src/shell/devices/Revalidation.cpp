#include "shell/devices/Revalidation.h"

#include "namespace/ItemIdList.h"
#include "shell/common/ShellErrors.h"
#include "shell/idlist/ShellFolders.h"

namespace quarn {

namespace {
int suppressionCount = 0;
}

void RevalidateMyComputer() {
    if (suppressionCount != 0) {
        return;
    }
    LPITEMIDLIST list = nullptr;
    const HRESULT located = GetSpecialFolderPidl(nullptr, CSIDL_DRIVES, list);
    const PidlPtr owned(list);
    OleCheck(located);
    ComPtr<IShellFolder> folder;
    OleCheck(GetPidlFolder(list, folder));
    SFGAOF attributes = SFGAO_VALIDATE;
    folder->GetAttributesOf(0, nullptr, &attributes);
}

void SuspendRevalidation() {
    ++suppressionCount;
}

void ResumeRevalidation() {
    --suppressionCount;
}

} // namespace quarn

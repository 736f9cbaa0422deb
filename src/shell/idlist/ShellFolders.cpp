#include "shell/idlist/ShellFolders.h"

#include "namespace/Namespace.h"
#include "shell/common/ShellErrors.h"
#include "shell/idlist/IdListArray.h"
#include "shell/idlist/PidlRoutines.h"

namespace quarn {

HRESULT GetDesktopFolder(ComPtr<IShellFolder>& folder) {
    return SHGetDesktopFolder(folder.Put());
}

HRESULT GetPidlFolder(LPCITEMIDLIST list, ComPtr<IShellFolder>& folder) {
    folder.reset();
    ComPtr<IShellFolder> desktop;
    const HRESULT hr = GetDesktopFolder(desktop);
    if (Failed(hr) || !HasItems(list)) {
        folder = desktop;
        return hr;
    }
    void* object = nullptr;
    const HRESULT bound = desktop->BindToObject(list, nullptr, IID_IShellFolder, &object);
    folder = ComPtr<IShellFolder>::Attach(static_cast<IShellFolder*>(object));
    return bound;
}

// Any path the file system allows is parsed as it is: a long path never turns into the
// desktop.
HRESULT PathToPidl(const std::string& path, LPITEMIDLIST& list) {
    list = nullptr;
    ComPtr<IShellFolder> desktop;
    const HRESULT hr = GetDesktopFolder(desktop);
    if (Failed(hr)) {
        return hr;
    }
    ULONG eaten = 0;
    return desktop->ParseDisplayName(nullptr, nullptr, path, &eaten, &list, nullptr);
}

std::string PidlToPath(LPCITEMIDLIST list) {
    return SHGetPathFromIDList(list);
}

HRESULT GetSpecialFolderPidl(HWND owner, int csidl, LPITEMIDLIST& list) {
    return SHGetSpecialFolderLocation(owner, csidl & 0x7F, &list);
}

std::string GetSpecialFolderPath(HWND owner, int csidl) {
    LPITEMIDLIST list = nullptr;
    if (Failed(SHGetSpecialFolderLocation(owner, csidl, &list))) {
        return {};
    }
    const PidlPtr owned(list);
    return PidlToPath(list);
}

int GetPidlCsidl(LPCITEMIDLIST list) {
    for (int csidl = 0; csidl < CSIDL_NONE; ++csidl) {
        LPITEMIDLIST special = nullptr;
        const HRESULT hr = GetSpecialFolderPidl(nullptr, csidl, special);
        const PidlPtr owned(special);
        if (Succeeded(hr) && ComparePidls(list, special) == 0) {
            return csidl;
        }
    }
    return CSIDL_NONE;
}

bool PidlIsSpecialFolder(LPCITEMIDLIST list, int csidl) {
    LPITEMIDLIST special = nullptr;
    const HRESULT hr = GetSpecialFolderPidl(nullptr, csidl, special);
    const PidlPtr owned(special);
    OleCheck(hr);
    return ComparePidls(list, special) == 0;
}

} // namespace quarn

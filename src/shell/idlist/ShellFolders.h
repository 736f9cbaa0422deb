#pragma once

// Folders, paths and special folders of item-ID lists. The lists answered are new and the
// caller's, allocated through the shared allocator.

#include "namespace/ShellFolder.h"

#include <string>

namespace quarn {

HRESULT GetDesktopFolder(ComPtr<IShellFolder>& folder);
HRESULT GetPidlFolder(LPCITEMIDLIST list, ComPtr<IShellFolder>& folder);
HRESULT PathToPidl(const std::string& path, LPITEMIDLIST& list);
std::string PidlToPath(LPCITEMIDLIST list); // "" for virtual items and failures

HRESULT GetSpecialFolderPidl(HWND owner, int csidl, LPITEMIDLIST& list); // csidl & 0x7F
std::string GetSpecialFolderPath(HWND owner, int csidl);
int GetPidlCsidl(LPCITEMIDLIST list);                    // CSIDL_NONE when it is no special folder
bool PidlIsSpecialFolder(LPCITEMIDLIST list, int csidl); // raises EOleSysError

} // namespace quarn

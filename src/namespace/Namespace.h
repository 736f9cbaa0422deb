#pragma once

// The facilities of the shell namespace that the controls call, over the Linux file
// system: the desktop folder, special folders, paths and file information.

#include "namespace/ShellFolder.h"

#include <string>

namespace quarn {

HRESULT SHGetDesktopFolder(IShellFolder** folder);

// The absolute list of a special folder (CSIDL_DESKTOP, _PERSONAL, _SENDTO, _BITBUCKET,
// _DESKTOPDIRECTORY, _DRIVES, _PROFILE); E_INVALIDARG for any other number, the parse
// failure for a folder that does not exist. The list is the caller's.
HRESULT SHGetSpecialFolderLocation(HWND owner, int csidl, LPITEMIDLIST* list);

// The file-system path of an absolute list; "" for virtual items (the desktop, Computer,
// Trash and its items) and for lists that are not ours.
std::string SHGetPathFromIDList(LPCITEMIDLIST list);

struct SHFILEINFO {
    std::string iconName; // SHGFI_SYSICONINDEX: a freedesktop icon name
    std::string displayName;
    std::string typeName;
    SFGAOF attributes = 0;
};

// What flags ask for about an absolute list (SHGFI_PIDL is implied); false when the list is
// not one of ours.
bool SHGetFileInfo(LPCITEMIDLIST list, std::uint32_t flags, SHFILEINFO* info);

} // namespace quarn

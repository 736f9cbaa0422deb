#pragma once

// Item-ID list routines and shell helpers of the shell controls. A "list" is an item-ID
// list; lists that the routines answer are new and the caller's, allocated through the
// shared allocator unless an allocator is given.

#include "namespace/Malloc.h"
#include "namespace/ShellFolder.h"

#include <cstdint>
#include <string>

namespace quarn {

LPITEMIDLIST AllocPidl(std::size_t size); // nil when it fails
void FreePidl(LPITEMIDLIST list);         // nil is ignored
IMalloc* GetShellMalloc();
std::size_t PidlSize(LPCITEMIDLIST list); // with the terminator; 0 for nil
LPITEMIDLIST JoinPidls(IMalloc* allocator, LPCITEMIDLIST first, LPCITEMIDLIST second);
LPITEMIDLIST DuplicatePidl(IMalloc* allocator, LPCITEMIDLIST list); // nil: an empty list

// 0 = equal; ComparePidlsFailed when the desktop could not compare them.
inline constexpr int ComparePidlsFailed = 0x7FFFFFFF;
int ComparePidls(LPCITEMIDLIST a, LPCITEMIDLIST b);

HRESULT GetDesktopFolder(ComPtr<IShellFolder>& folder);
HRESULT GetPidlFolder(LPCITEMIDLIST list, ComPtr<IShellFolder>& folder);
HRESULT PathToPidl(const std::string& path, LPITEMIDLIST& list);
std::string PidlToPath(LPCITEMIDLIST list); // "" for virtual items and failures

HRESULT GetSpecialFolderPidl(HWND owner, int csidl, LPITEMIDLIST& list); // csidl & 0x7F
std::string GetSpecialFolderPath(HWND owner, int csidl);
int GetPidlCsidl(LPCITEMIDLIST list);                    // CSIDL_NONE when it is no special folder
bool PidlIsSpecialFolder(LPCITEMIDLIST list, int csidl); // raises EOleSysError

// kind: 0 normal, 1 in folder, 2 for parsing, 3 in folder for editing.
std::string GetPidlDisplayName(IShellFolder* folder, LPCITEMIDLIST list, int kind);
std::string GetAbsolutePidlName(LPCITEMIDLIST list); // raises EOleSysError
std::string StrRetToString(LPCITEMIDLIST list, const STRRET& name);
void FreeStrRet(STRRET& name);

// The platform answers that the controls branch on: fixed (NT, comctl32 6.0), set by
// tests to reach the older branches.
struct PlatformVersion {
    bool windowsNT = true;
    std::uint64_t comCtl32Version = std::uint64_t{0x00060000}
                                    << 32; // major.minor in the high dword
};
const PlatformVersion& GetPlatformVersion();
void SetPlatformVersion(const PlatformVersion& version);
bool IsWindowsNT();
// comctl32.dll answers the fixed version; any other file its embedded version block.
bool GetDllFileVersion(const std::string& fileName, std::uint64_t& version);

std::string AppendCharIfMissing(const std::string& text, char c);
void AppendCharAt(std::size_t& position, const std::string& text, std::string& target);

inline std::string ShellControlText(const std::string& text) {
    return text;
}

} // namespace quarn

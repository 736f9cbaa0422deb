#pragma once

#include "namespace/ShellFolder.h"

#include <cstdint>

namespace quarn {

using UINT = std::uint32_t;

class MenuModel;
using HMENU = MenuModel*; // the menu a context menu fills

// The identifiers the shell controls give a context menu: its commands run from first to
// last; identifiers 1 to 999 stay free for the controls' own Send To entries. The command at
// offset 18 (identifier 1018) is rename, which the controls turn into a label edit.
inline constexpr UINT FirstCommandId = 1000;
inline constexpr UINT LastCommandId = 0x7FFF;
inline constexpr UINT RenameCommandOffset = 18;

// QueryContextMenu flags.
inline constexpr UINT CMF_NORMAL = 0x0;
inline constexpr UINT CMF_DEFAULTONLY = 0x1;
inline constexpr UINT CMF_EXPLORE = 0x4;
inline constexpr UINT CMF_CANRENAME = 0x10;

// What GetCommandString answers.
inline constexpr UINT GCS_VERBA = 0x0;
inline constexpr UINT GCS_HELPTEXTA = 0x1;
inline constexpr UINT GCS_VALIDATEA = 0x2;

inline constexpr int SW_SHOWNORMAL = 1;

// A verb given by command offset travels in lpVerb as a value below 0x10000; any other value
// points to a verb name.
inline const char* MakeIntVerb(UINT offset) {
    return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(offset));
}
inline bool IsIntVerb(const char* verb) {
    return reinterpret_cast<std::uintptr_t>(verb) < 0x10000;
}
inline UINT IntVerbOffset(const char* verb) {
    return static_cast<UINT>(reinterpret_cast<std::uintptr_t>(verb));
}

struct CMINVOKECOMMANDINFO {
    std::uint32_t cbSize = sizeof(CMINVOKECOMMANDINFO);
    std::uint32_t fMask = 0;
    HWND hwnd = nullptr; // the owner of whatever the command shows
    const char* lpVerb = nullptr;
    const char* lpParameters = nullptr;
    const char* lpDirectory = nullptr;
    int nShow = SW_SHOWNORMAL;
    std::uint32_t dwHotKey = 0;
    void* hIcon = nullptr;
};

class IContextMenu : public IUnknown {
public:
    static constexpr IID Iid = IID_IContextMenu;
    // Inserts the commands at position index of menu with identifiers first + offset, none
    // above last; the success code's low word is the largest offset used + 1.
    virtual HRESULT QueryContextMenu(HMENU menu, UINT index, UINT first, UINT last, UINT flags) = 0;
    // Runs the command of the verb (an offset or a name). A command that ran answers S_OK,
    // also when it could not do its work for every item: it has told the user why, item by
    // item. A failure code means it could not run at all.
    virtual HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* info) = 0;
    // The verb name or help text of a command, NUL-terminated in buffer (size bytes, cut to
    // fit); E_INVALIDARG for an offset that is no command.
    virtual HRESULT GetCommandString(std::uintptr_t offset, UINT type, UINT* reserved, char* buffer,
                                     UINT size) = 0;
};

} // namespace quarn

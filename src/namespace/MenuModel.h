#pragma once

#include "namespace/ContextMenu.h"

#include <memory>
#include <string>
#include <vector>

namespace quarn {

// Item flags, as the Win32 menus have them.
inline constexpr UINT MF_STRING = 0x0;
inline constexpr UINT MF_GRAYED = 0x1;
inline constexpr UINT MF_POPUP = 0x10;
inline constexpr UINT MF_SEPARATOR = 0x800;
inline constexpr UINT MFS_DEFAULT = 0x1000;

class MenuModel;

// Every member has its default, so an item names only what it sets: {.flags = MF_SEPARATOR}.
struct MenuItem {
    UINT id = 0;           // 0 for a separator and a submenu
    std::string text = {}; // "&" before the access letter
    UINT flags = MF_STRING;
    std::shared_ptr<MenuModel> popup = {}; // the submenu, with MF_POPUP

    bool IsSeparator() const { return (flags & MF_SEPARATOR) != 0; }
    bool IsPopup() const { return (flags & MF_POPUP) != 0 && popup; }
};

// A popup menu as a context menu fills it, items by position: what the menu handle is to the
// Win32 calls. It needs no display; the shell controls show it as a QMenu.
class MenuModel {
public:
    // A position past the end appends.
    void Insert(std::size_t position, MenuItem item);
    std::size_t Count() const { return items_.size(); }
    const MenuItem& At(std::size_t position) const { return items_.at(position); }

private:
    std::vector<MenuItem> items_;
};

} // namespace quarn

#pragma once

#include "namespace/ContextMenu.h"

#include <string>
#include <vector>

namespace quarn {

// One file-system item a context menu acts on: a file, a folder, Home or a volume.
struct MenuTarget {
    std::string path;
    SFGAOF attributes = 0;
};

// Our context menu for file-system items of one folder: open (the default), the Send To
// submenu, cut, copy, paste (into a single folder), delete (to the trash), rename and
// properties, each offered as the items' attributes allow. Commands sit at the offsets Windows'
// shell gives them, so rename is offset 18.
class FileContextMenu final : public ComObject<IContextMenu> {
public:
    static constexpr UINT OpenOffset = 0;
    static constexpr UINT DeleteOffset = 17;
    static constexpr UINT RenameOffset = RenameCommandOffset;
    static constexpr UINT PropertiesOffset = 19;
    static constexpr UINT CutOffset = 24;
    static constexpr UINT CopyOffset = 25;
    static constexpr UINT PasteOffset = 26;

    FileContextMenu(HWND owner, std::vector<MenuTarget> targets);

    HRESULT QueryInterface(const IID& iid, void** object) override;
    HRESULT QueryContextMenu(HMENU menu, UINT index, UINT first, UINT last, UINT flags) override;
    HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* info) override;
    HRESULT GetCommandString(std::uintptr_t offset, UINT type, UINT* reserved, char* buffer,
                             UINT size) override;

private:
    bool Offers(UINT offset, UINT flags) const;
    void Run(UINT offset, HWND owner) const;
    std::vector<std::string> Paths() const;

    HWND owner_;
    std::vector<MenuTarget> targets_;
    SFGAOF common_ = 0; // the attributes all targets share
};

} // namespace quarn

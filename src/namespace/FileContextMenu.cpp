#include "namespace/FileContextMenu.h"

#include "namespace/DesktopServices.h"
#include "namespace/FileVerbs.h"
#include "namespace/MenuModel.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace quarn {

namespace {

struct Verb {
    UINT offset;
    const char* name; // the verb, as InvokeCommand and GetCommandString know it
    const char* text;
    const char* help;
    int group; // a separator stands between groups
};

// In menu order.
constexpr Verb Verbs[] = {
    {FileContextMenu::OpenOffset, "open", "&Open",
     "Opens the selected items with the desktop's default applications.", 0},
    {FileContextMenu::CutOffset, "cut", "Cu&t",
     "Puts the selected items on the Clipboard, to be moved where you paste them.", 1},
    {FileContextMenu::CopyOffset, "copy", "&Copy",
     "Puts the selected items on the Clipboard, to be copied where you paste them.", 1},
    {FileContextMenu::PasteOffset, "paste", "&Paste",
     "Copies or moves the items on the Clipboard into the selected folder.", 1},
    {FileContextMenu::DeleteOffset, "delete", "&Delete", "Moves the selected items to the trash.",
     2},
    {FileContextMenu::RenameOffset, "rename", "Rena&me", "Renames the selected item.", 2},
    {FileContextMenu::PropertiesOffset, "properties", "P&roperties",
     "Displays the properties of the selected items.", 3},
};

const Verb* VerbAt(UINT offset) {
    const auto verb = std::find_if(std::begin(Verbs), std::end(Verbs),
                                   [offset](const Verb& each) { return each.offset == offset; });
    return verb == std::end(Verbs) ? nullptr : verb;
}

const Verb* VerbNamed(const char* name) {
    const auto verb = std::find_if(std::begin(Verbs), std::end(Verbs), [name](const Verb& each) {
        return ::strcasecmp(each.name, name) == 0;
    });
    return verb == std::end(Verbs) ? nullptr : verb;
}

// Offset 0 travels as a null pointer.
const Verb* VerbOf(const char* verb) {
    return IsIntVerb(verb) ? VerbAt(IntVerbOffset(verb)) : VerbNamed(verb);
}

// The controls fill it with their Send To entries when it opens, in place of the one grayed
// item it holds until then.
MenuItem SendToPopup() {
    auto entries = std::make_shared<MenuModel>();
    entries->Insert(0, {.text = "(empty)", .flags = MF_GRAYED});
    return {.text = "Se&nd To", .flags = MF_POPUP, .popup = std::move(entries)};
}

// Cut to fit, always terminated.
void CopyText(const char* text, char* buffer, UINT size) {
    const std::size_t length = std::min<std::size_t>(std::strlen(text), size - 1);
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
}

} // namespace

FileContextMenu::FileContextMenu(HWND owner, std::vector<MenuTarget> targets)
    : owner_(owner), targets_(std::move(targets)) {
    common_ = ~SFGAOF{0};
    for (const MenuTarget& target : targets_) {
        common_ &= target.attributes;
    }
}

HRESULT FileContextMenu::QueryInterface(const IID& iid, void** object) {
    return QueryOwnInterface<IContextMenu>(this, iid, object);
}

bool FileContextMenu::Offers(UINT offset, UINT flags) const {
    if ((flags & CMF_DEFAULTONLY) && offset != OpenOffset) {
        return false;
    }
    switch (offset) {
    case CutOffset:
        return (common_ & SFGAO_CANMOVE) != 0;
    case CopyOffset:
        return (common_ & SFGAO_CANCOPY) != 0;
    case PasteOffset:
        return targets_.size() == 1 && (common_ & SFGAO_FOLDER) && (common_ & SFGAO_DROPTARGET);
    case DeleteOffset:
        return (common_ & SFGAO_CANDELETE) != 0;
    case RenameOffset:
        return (flags & CMF_CANRENAME) && (common_ & SFGAO_CANRENAME);
    default:
        return true;
    }
}

HRESULT FileContextMenu::QueryContextMenu(HMENU menu, UINT index, UINT first, UINT last,
                                          UINT flags) {
    if (menu == nullptr) {
        return E_INVALIDARG;
    }
    UINT used = 0;
    int group = -1;
    for (const Verb& verb : Verbs) {
        if (!Offers(verb.offset, flags) || first + verb.offset > last) {
            continue;
        }
        if (group >= 0 && verb.group != group) {
            menu->Insert(index++, {.flags = MF_SEPARATOR});
        }
        group = verb.group;
        UINT itemFlags = verb.offset == OpenOffset ? MFS_DEFAULT : MF_STRING;
        if (verb.offset == PasteOffset && !ClipboardHoldsEntries()) {
            itemFlags |= MF_GRAYED;
        }
        menu->Insert(index++, {.id = first + verb.offset, .text = verb.text, .flags = itemFlags});
        if (verb.offset == OpenOffset && !(flags & CMF_DEFAULTONLY)) {
            menu->Insert(index++, {.flags = MF_SEPARATOR});
            menu->Insert(index++, SendToPopup());
        }
        used = std::max(used, verb.offset + 1);
    }
    return MakeSuccessCode(static_cast<std::int16_t>(used));
}

HRESULT FileContextMenu::InvokeCommand(const CMINVOKECOMMANDINFO* info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    const Verb* verb = VerbOf(info->lpVerb);
    if (verb == nullptr || !Offers(verb->offset, CMF_CANRENAME)) {
        return E_INVALIDARG;
    }
    if (verb->offset == RenameOffset) {
        return E_NOTIMPL; // the controls rename in place
    }
    Run(verb->offset, info->hwnd ? info->hwnd : owner_);
    return S_OK;
}

void FileContextMenu::Run(UINT offset, HWND owner) const {
    switch (offset) {
    case OpenOffset:
        OpenEntries(Paths());
        break;
    case CutOffset:
    case CopyOffset:
        PutEntriesOnClipboard(Paths(), offset == CutOffset);
        break;
    case PasteOffset:
        PasteIntoFolder(targets_.front().path);
        break;
    case DeleteOffset:
        TrashEntries(Paths());
        break;
    case PropertiesOffset:
        InstalledDesktop().ShowProperties(owner, Paths());
        break;
    default:
        break;
    }
}

HRESULT FileContextMenu::GetCommandString(std::uintptr_t offset, UINT type, UINT*, char* buffer,
                                          UINT size) {
    const Verb* verb = offset < 0x10000 ? VerbAt(static_cast<UINT>(offset)) : nullptr;
    if (verb == nullptr) {
        return E_INVALIDARG;
    }
    switch (type) {
    case GCS_VALIDATEA:
        return S_OK;
    case GCS_VERBA:
    case GCS_HELPTEXTA:
        if (buffer == nullptr || size == 0) {
            return E_INVALIDARG;
        }
        CopyText(type == GCS_VERBA ? verb->name : verb->help, buffer, size);
        return S_OK;
    default:
        return E_INVALIDARG;
    }
}

std::vector<std::string> FileContextMenu::Paths() const {
    std::vector<std::string> paths;
    for (const MenuTarget& target : targets_) {
        paths.push_back(target.path);
    }
    return paths;
}

} // namespace quarn

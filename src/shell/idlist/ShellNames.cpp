#include "shell/idlist/ShellNames.h"

#include "shell/common/ShellErrors.h"
#include "shell/idlist/IdListArray.h"
#include "shell/idlist/PidlRoutines.h"
#include "shell/idlist/ShellFolders.h"

#include <QString>
#include <cstring>

namespace quarn {

namespace {

constexpr SHGDNF DisplayNameFlags[] = {SHGDN_NORMAL, SHGDN_INFOLDER, SHGDN_FORPARSING,
                                       SHGDN_INFOLDER | SHGDN_FOREDITING};

} // namespace

std::string StrRetToString(LPCITEMIDLIST list, const STRRET& name) {
    switch (name.uType) {
    case STRRET_WSTR:
        return QString::fromStdU16String(name.pOleStr).toStdString();
    case STRRET_OFFSET: {
        const std::size_t size = PidlSize(list);
        if (list == nullptr || name.uOffset >= size) {
            return {};
        }
        // The text ends at its terminator, and never past the list.
        const char* text = reinterpret_cast<const char*>(list) + name.uOffset;
        return std::string(text, strnlen(text, size - name.uOffset));
    }
    case STRRET_CSTR:
        return std::string(name.cStr.c_str());
    default:
        return {};
    }
}

void FreeStrRet(STRRET& name) {
    if (name.uType == STRRET_WSTR) {
        name.pOleStr.clear();
    }
}

std::string GetPidlDisplayName(IShellFolder* folder, LPCITEMIDLIST list, int kind) {
    if (kind < NormalDisplayName || kind > EditingDisplayName) {
        return {};
    }
    ComPtr<IShellFolder> desktop;
    if (folder == nullptr) {
        if (Failed(GetDesktopFolder(desktop))) {
            return {};
        }
        folder = desktop.get();
    }
    STRRET name;
    name.uType = STRRET_CSTR;
    if (Failed(folder->GetDisplayNameOf(list, DisplayNameFlags[kind], &name))) {
        return {};
    }
    std::string text = StrRetToString(list, name);
    FreeStrRet(name);
    return text;
}

std::string GetAbsolutePidlName(LPCITEMIDLIST list) {
    ComPtr<IShellFolder> desktop;
    if (Failed(GetDesktopFolder(desktop))) {
        return {};
    }
    TSCIdListArray levels(list);
    const int count = levels.GetCount();
    if (count <= 1) {
        return GetPidlDisplayName(desktop.get(), list, InFolderDisplayName);
    }
    void* object = nullptr;
    OleCheck(desktop->BindToObject(levels.GetPrefix(1), nullptr, IID_IShellFolder, &object));
    const auto parent = ComPtr<IShellFolder>::Attach(static_cast<IShellFolder*>(object));
    return GetPidlDisplayName(parent.get(), levels.GetItem(count - 1), InFolderDisplayName);
}

} // namespace quarn

#include "shell/list/ShellListData.h"

#include "namespace/ItemCodec.h"
#include "namespace/MountTable.h"
#include "namespace/Namespace.h"
#include "shell/idlist/PidlRoutines.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/idlist/ShellNames.h"
#include "shell/list/DetailTexts.h"
#include "shell/list/ShellList.h"

namespace quarn {

namespace {

constexpr SFGAOF DataAttributes = SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK | SFGAO_CANRENAME |
                                  SFGAO_CANDELETE | SFGAO_LINK | SFGAO_SHARE | SFGAO_READONLY |
                                  SFGAO_GHOSTED | SFGAO_FILESYSANCESTOR | SFGAO_FOLDER |
                                  SFGAO_FILESYSTEM;

std::optional<EntryItem> StoredEntry(LPCITEMIDLIST relativePidl) {
    const auto item = DecodeItem(FirstItem(relativePidl));
    if (!item || !std::holds_alternative<EntryItem>(*item)) {
        return std::nullopt;
    }
    return std::get<EntryItem>(*item);
}

} // namespace

void TSCShListData::SetPidl(LPITEMIDLIST pidl) {
    relativePidl_.reset(pidl);
    ResetCache();
}

void TSCShListData::ResetCache() {
    absolutePidl_.reset();
    displayName_.clear();
    detailsReady_ = false;
}

LPCITEMIDLIST TSCShListData::GetAbsolutePidl() {
    if (!absolutePidl_) {
        absolutePidl_.reset(JoinPidls(nullptr, List->CurrentAbsolutePidl(), relativePidl_.get()));
    }
    return absolutePidl_.get();
}

// A removable drive's files are not called read-only for what the drive says of itself.
SFGAOF TSCShListData::GetAttributes() {
    SFGAOF attributes = DataAttributes;
    if (const std::string path = GetPath();
        IsBeyondDriveRoot(path) && GetDriveType(path) == DriveType::Removable) {
        attributes &= ~SFGAO_READONLY;
    }
    LPCITEMIDLIST item = relativePidl_.get();
    if (IShellFolder* folder = List->CurrentFolder()) {
        folder->GetAttributesOf(1, &item, &attributes);
    }
    return attributes;
}

bool TSCShListData::IsFolder() {
    return GetAttributes() & SFGAO_FOLDER;
}

bool TSCShListData::CanRename() {
    return GetAttributes() & SFGAO_CANRENAME;
}

std::string TSCShListData::GetDetailText(int column, IShellDetails* details) {
    if (column == 0) {
        return {};
    }
    if (details) {
        SHELLDETAILS cell;
        if (Failed(details->GetDetailsOf(relativePidl_.get(), column, &cell))) {
            return {};
        }
        std::string text = StrRetToString(relativePidl_.get(), cell.str);
        FreeStrRet(cell.str);
        return text;
    }
    ComputeDetailTexts();
    switch (column) {
    case 1:
        return sizeText_;
    case 2:
        return typeText_;
    case 3:
        return modifiedText_;
    default:
        return {};
    }
}

void TSCShListData::ComputeDetailTexts() {
    if (detailsReady_) {
        return;
    }
    TSCDetailTexts texts = GetItemDetailTexts(GetAbsolutePidl(), GetAttributes());
    sizeText_ = std::move(texts.Size);
    typeText_ = std::move(texts.Type);
    modifiedText_ = std::move(texts.Modified);
    detailsReady_ = true;
}

const std::string& TSCShListData::GetDisplayName() {
    if (displayName_.empty()) {
        SHFILEINFO info;
        if (SHGetFileInfo(GetAbsolutePidl(), SHGFI_PIDL | SHGFI_DISPLAYNAME, &info)) {
            displayName_ = std::move(info.displayName);
        }
    }
    return displayName_;
}

std::string TSCShListData::GetPath() {
    return PidlToPath(GetAbsolutePidl());
}

std::optional<std::uint64_t> TSCShListData::GetFileSize() const {
    const auto entry = StoredEntry(relativePidl_.get());
    if (!entry || entry->IsFolder()) {
        return std::nullopt;
    }
    return entry->size;
}

std::optional<QDateTime> TSCShListData::GetModifiedTime() const {
    const auto entry = StoredEntry(relativePidl_.get());
    if (!entry) {
        return std::nullopt;
    }
    return DateTimeOf(entry->modified.IsZero() ? entry->born : entry->modified).toLocalTime();
}

} // namespace quarn

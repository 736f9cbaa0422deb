#include "namespace/ItemInfo.h"

#include "namespace/ItemOrderKey.h"
#include "namespace/UserFolders.h"

namespace quarn {

namespace {

constexpr SFGAOF FolderAttributes = SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER;

SFGAOF RootAttributes(RootKind kind) {
    switch (kind) {
    case RootKind::Home:
        return FolderAttributes | SFGAO_FILESYSTEM | SFGAO_CANLINK | SFGAO_DROPTARGET;
    case RootKind::Computer:
        return FolderAttributes | SFGAO_CANLINK;
    case RootKind::Trash:
        return SFGAO_FOLDER | SFGAO_CANLINK | SFGAO_DROPTARGET;
    }
    return 0;
}

SFGAOF VolumeAttributes(const VolumeItem& volume) {
    SFGAOF attributes = FolderAttributes | SFGAO_FILESYSTEM | SFGAO_CANLINK | SFGAO_DROPTARGET;
    if (volume.driveType == DriveType::Removable || volume.driveType == DriveType::CdRom) {
        attributes |= SFGAO_REMOVABLE;
    }
    return attributes;
}

SFGAOF EntryAttributes(const EntryItem& entry) {
    SFGAOF attributes = SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK | SFGAO_CANRENAME |
                        SFGAO_CANDELETE | SFGAO_FILESYSTEM;
    if (entry.IsFolder()) {
        attributes |= FolderAttributes | SFGAO_DROPTARGET;
    }
    if (entry.IsLink()) {
        attributes |= SFGAO_LINK;
    }
    if (entry.flags & EntryHidden) {
        attributes |= SFGAO_HIDDEN;
    }
    if (entry.flags & EntryReadOnly) {
        attributes |= SFGAO_READONLY;
    }
    return attributes;
}

std::string RootName(RootKind kind) {
    switch (kind) {
    case RootKind::Home:
        return "Home";
    case RootKind::Computer:
        return "Computer";
    case RootKind::Trash:
        return "Trash";
    }
    return {};
}

std::string VolumeName(const VolumeItem& volume) {
    if (volume.mountPoint == "/") {
        return "File System";
    }
    return std::string(volume.mountPoint.substr(volume.mountPoint.find_last_of('/') + 1));
}

} // namespace

SFGAOF ItemAttributes(const Item& item) {
    return std::visit(Overloaded{
                          [](const RootItem& root) { return RootAttributes(root.kind); },
                          [](const VolumeItem& volume) { return VolumeAttributes(volume); },
                          [](const EntryItem& entry) { return EntryAttributes(entry); },
                          [](const TrashItem&) { return SFGAOF{0}; },
                      },
                      item);
}

SFGAOF DesktopAttributes() {
    return FolderAttributes;
}

std::string ItemPath(const Item& item, const std::string& folderPath) {
    return std::visit(Overloaded{
                          [](const RootItem& root) {
                              return root.kind == RootKind::Home ? HomeFolder() : std::string();
                          },
                          [](const VolumeItem& volume) { return std::string(volume.mountPoint); },
                          [&](const EntryItem& entry) {
                              return folderPath.empty() ? std::string()
                                                        : JoinPath(folderPath, entry.name);
                          },
                          [](const TrashItem&) { return std::string(); },
                      },
                      item);
}

std::string ItemDisplayName(const Item& item, SHGDNF flags, const std::string& folderPath) {
    const bool parsing = (flags & SHGDN_FORPARSING) != 0;
    const bool inFolder = (flags & SHGDN_INFOLDER) != 0;
    return std::visit(
        Overloaded{
            [&](const RootItem& root) {
                if (!parsing) {
                    return RootName(root.kind);
                }
                return root.kind == RootKind::Home ? HomeFolder() : "::" + RootName(root.kind);
            },
            [&](const VolumeItem& volume) {
                return parsing ? std::string(volume.mountPoint) : VolumeName(volume);
            },
            [&](const EntryItem& entry) {
                return parsing && !inFolder ? ItemPath(entry, folderPath) : std::string(entry.name);
            },
            [&](const TrashItem& trash) {
                return parsing ? "::Trash/" + std::string(trash.trashName)
                               : std::string(trash.DisplayName());
            },
        },
        item);
}

std::string DesktopDisplayName(SHGDNF flags) {
    return (flags & SHGDN_FORPARSING) ? "::Desktop" : "Desktop";
}

int CompareItems(const Item& first, const Item& second, int column) {
    return ItemOrderKey(first, column, NameCollation::Cached)
        .Compare(ItemOrderKey(second, column, NameCollation::Cached));
}

} // namespace quarn

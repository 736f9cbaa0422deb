// Icon and type names of items.
#include "namespace/ItemInfo.h"
#include "platform/Registry.h"

#include <QMimeDatabase>

namespace quarn {

namespace {

QMimeType MimeTypeOf(std::string_view fileName, bool folder) {
    static const QMimeDatabase database;
    if (folder) {
        return database.mimeTypeForName(QStringLiteral("inode/directory"));
    }
    return database.mimeTypeForFile(
        QString::fromUtf8(fileName.data(), static_cast<qsizetype>(fileName.size())),
        QMimeDatabase::MatchExtension);
}

// HKEY_CLASSES_ROOT\<extension> names a type whose default value is its description.
std::string RegisteredTypeName(std::string_view fileName) {
    const auto dot = fileName.find_last_of('.');
    if (dot == std::string_view::npos || dot + 1 == fileName.size()) {
        return {};
    }
    try {
        TRegistry registry(RegistryRoot::ClassesRoot);
        if (!registry.OpenKeyReadOnly(std::string(fileName.substr(dot)))) {
            return {};
        }
        const std::string type = registry.ReadString("");
        registry.CloseKey();
        if (type.empty() || !registry.OpenKeyReadOnly(type)) {
            return {};
        }
        std::string description = registry.ReadString("");
        registry.CloseKey();
        return description;
    } catch (const ERegistryException&) {
        return {}; // a registry that cannot be read names no type
    }
}

std::string VolumeTypeName(DriveType type) {
    switch (type) {
    case DriveType::Removable:
        return "Removable Disk";
    case DriveType::Remote:
        return "Network Drive";
    case DriveType::CdRom:
        return "CD Drive";
    case DriveType::RamDisk:
        return "RAM Disk";
    default:
        return "Local Disk";
    }
}

std::string VolumeIconName(DriveType type) {
    switch (type) {
    case DriveType::Removable:
        return "drive-removable-media";
    case DriveType::Remote:
        return "folder-remote";
    case DriveType::CdRom:
        return "media-optical";
    default:
        return "drive-harddisk";
    }
}

std::string FileIconName(std::string_view fileName, bool folder, bool open) {
    if (folder) {
        return open ? "folder-open" : "folder";
    }
    const QMimeType type = MimeTypeOf(fileName, false);
    return (type.iconName().isEmpty() ? type.genericIconName() : type.iconName()).toStdString();
}

} // namespace

std::string FileTypeName(std::string_view fileName, bool folder) {
    if (!folder) {
        if (std::string registered = RegisteredTypeName(fileName); !registered.empty()) {
            return registered;
        }
    }
    return MimeTypeOf(fileName, folder).comment().toStdString();
}

std::string ItemTypeName(const Item& item) {
    return std::visit(
        Overloaded{
            [](const RootItem& root) {
                return root.kind == RootKind::Home ? FileTypeName({}, true)
                                                   : std::string("System Folder");
            },
            [](const VolumeItem& volume) { return VolumeTypeName(volume.driveType); },
            [](const EntryItem& entry) { return FileTypeName(entry.name, entry.IsFolder()); },
            [](const TrashItem& trash) { return FileTypeName(trash.DisplayName(), trash.folder); },
        },
        item);
}

std::string ItemIconName(const Item& item, bool open) {
    return std::visit(Overloaded{
                          [](const RootItem& root) {
                              switch (root.kind) {
                              case RootKind::Home:
                                  return std::string("user-home");
                              case RootKind::Computer:
                                  return std::string("computer");
                              default:
                                  return std::string("user-trash");
                              }
                          },
                          [](const VolumeItem& volume) { return VolumeIconName(volume.driveType); },
                          [&](const EntryItem& entry) {
                              return FileIconName(entry.name, entry.IsFolder(), open);
                          },
                          [&](const TrashItem& trash) {
                              return FileIconName(trash.DisplayName(), trash.folder, open);
                          },
                      },
                      item);
}

std::string DesktopIconName() {
    return "user-desktop";
}

} // namespace quarn

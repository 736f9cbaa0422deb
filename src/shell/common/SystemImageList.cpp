#include "shell/common/SystemImageList.h"

#include "namespace/Namespace.h"
#include "shell/winapi/PlatformVersion.h"

#include <QApplication>
#include <QMimeDatabase>
#include <QStyle>
#include <map>
#include <mutex>
#include <vector>

namespace quarn {

namespace {

constexpr std::uint64_t OverlayComCtl32Version = std::uint64_t{0x00040047} << 32; // 4.71

struct IconTable {
    std::mutex lock;
    std::vector<std::string> names{std::string()}; // index 0 stays unused
    std::map<std::string, int> indexes;
    int overlays[2] = {0, 0};
    bool overlaysInstalled = false;
};

IconTable& Table() {
    static IconTable table;
    return table;
}

std::string NameAt(int index) {
    auto& table = Table();
    std::lock_guard guard(table.lock);
    if (index <= 0 || index >= static_cast<int>(table.names.size())) {
        return {};
    }
    return table.names[static_cast<std::size_t>(index)];
}

QStyle::StandardPixmap StandardIconFor(const std::string& name) {
    static const std::map<std::string, QStyle::StandardPixmap> icons = {
        {"folder", QStyle::SP_DirIcon},
        {"folder-open", QStyle::SP_DirOpenIcon},
        {"user-home", QStyle::SP_DirHomeIcon},
        {"user-desktop", QStyle::SP_DesktopIcon},
        {"computer", QStyle::SP_ComputerIcon},
        {"drive-harddisk", QStyle::SP_DriveHDIcon},
        {"drive-removable-media", QStyle::SP_DriveFDIcon},
        {"media-optical", QStyle::SP_DriveCDIcon},
        {"folder-remote", QStyle::SP_DriveNetIcon},
        {"user-trash", QStyle::SP_TrashIcon},
        {"emblem-symbolic-link", QStyle::SP_FileLinkIcon},
    };
    const auto found = icons.find(name);
    return found == icons.end() ? QStyle::SP_FileIcon : found->second;
}

// Without a desktop the theme is plain "hicolor", which has none of these names: look them
// up in Adwaita where the theme cannot answer.
void UseAFullFallbackTheme() {
    static std::once_flag once;
    std::call_once(once, [] {
        const QString fallback = QIcon::fallbackThemeName();
        if (fallback.isEmpty() || fallback == QStringLiteral("hicolor")) {
            QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
        }
    });
}

// A MIME type's icon name ("text-plain"), else its generic one ("text-x-generic").
QIcon ThemeIcon(const std::string& name) {
    const QString iconName = QString::fromStdString(name);
    QIcon icon = QIcon::fromTheme(iconName);
    if (icon.isNull()) {
        const QMimeType type = QMimeDatabase().mimeTypeForName(
            QString(iconName).replace(iconName.indexOf('-'), 1, '/'));
        if (type.isValid() && type.iconName() == iconName) {
            icon = QIcon::fromTheme(type.genericIconName());
        }
    }
    return icon;
}

QIcon IconFor(const std::string& name) {
    UseAFullFallbackTheme();
    QIcon icon = ThemeIcon(name);
    if (icon.isNull()) {
        if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance())) {
            icon = application->style()->standardIcon(StandardIconFor(name));
        }
    }
    return icon;
}

} // namespace

int SystemIconIndex(const std::string& iconName) {
    auto& table = Table();
    std::lock_guard guard(table.lock);
    const auto [position, added] =
        table.indexes.try_emplace(iconName, static_cast<int>(table.names.size()));
    if (added) {
        table.names.push_back(iconName);
    }
    return position->second;
}

int TSystemImageList::Count() const {
    auto& table = Table();
    std::lock_guard guard(table.lock);
    return static_cast<int>(table.names.size());
}

QIcon TSystemImageList::Icon(int index) const {
    const std::string name = NameAt(index);
    return name.empty() ? QIcon() : IconFor(name);
}

QPixmap TSystemImageList::Pixmap(int index) const {
    return Icon(index).pixmap(ImageSize());
}

int TSystemImageList::OverlayImage(int overlay) const {
    auto& table = Table();
    std::lock_guard guard(table.lock);
    return overlay == 1 || overlay == 2 ? table.overlays[overlay - 1] : 0;
}

int GetPidlIconIndex(LPCITEMIDLIST list, std::uint32_t extraFlags) {
    static const std::uint8_t desktop[2] = {0, 0};
    if (list == nullptr) {
        list = reinterpret_cast<LPCITEMIDLIST>(desktop);
    }
    SHFILEINFO info;
    if (!SHGetFileInfo(list, extraFlags | SHGFI_PIDL | SHGFI_SYSICONINDEX, &info) ||
        info.iconName.empty()) {
        return 0;
    }
    return SystemIconIndex(info.iconName);
}

void InitSystemImageListOverlays() {
    const int shared = SystemIconIndex("emblem-shared");
    const int link = SystemIconIndex("emblem-symbolic-link");
    auto& table = Table();
    std::lock_guard guard(table.lock);
    table.overlays[0] = shared;
    table.overlays[1] = link;
    table.overlaysInstalled = true;
}

bool SystemImageListOverlaysInstalled() {
    auto& table = Table();
    std::lock_guard guard(table.lock);
    return table.overlaysInstalled;
}

TSystemImageList* GetSystemImageList(int kind) {
    UseAFullFallbackTheme();
    static TSystemImageList small(16);
    static TSystemImageList large(32);
    if (IsWindowsNT() &&
        (GetPlatformVersion().comCtl32Version >> 32) >= (OverlayComCtl32Version >> 32) &&
        !SystemImageListOverlaysInstalled()) {
        InitSystemImageListOverlays();
    }
    return kind == TSystemImageList::Small ? &small : &large;
}

} // namespace quarn

#include "shell/list/DetailTexts.h"

#include "namespace/MountTable.h"
#include "namespace/Namespace.h"
#include "shell/idlist/ShellFolders.h"

#include <QLocale>
#include <fcntl.h>
#include <sys/stat.h>

namespace quarn {

namespace {

constexpr qsizetype TypeNameLimit = 80;

// A link shows what it points at; a dangling one shows itself.
bool StatPath(const std::string& path, struct statx& info) {
    constexpr unsigned Mask = STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_BTIME;
    return statx(AT_FDCWD, path.c_str(), AT_STATX_DONT_SYNC, Mask, &info) == 0 ||
           statx(AT_FDCWD, path.c_str(), AT_STATX_DONT_SYNC | AT_SYMLINK_NOFOLLOW, Mask, &info) ==
               0;
}

// A drive root is a folder that holds a volume; a file mounted on its own (a bind-mounted
// /etc/hosts) is an entry like any other. The item says which without touching the mount point.
bool IsDriveRoot(LPCITEMIDLIST absolutePidl, const std::string& path) {
    SHFILEINFO info;
    return !IsBeyondDriveRoot(path) && SHGetFileInfo(absolutePidl, SHGFI_ATTRIBUTES, &info) &&
           (info.attributes & SFGAO_FOLDER);
}

} // namespace

std::string FormatSizeKB(std::uint64_t size) {
    const std::uint64_t kilobytes = size / 1024 + (size % 1024 > 0 ? 1 : 0);
    return QLocale().toString(static_cast<qulonglong>(kilobytes)).toStdString() + "KB";
}

QDateTime FileTimeToLocalDateTime(FileTime time) {
    return DateTimeOf(time).toLocalTime();
}

std::string FormatModifiedTime(const QDateTime& time) {
    const QLocale locale;
    return locale
        .toString(time, locale.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ') +
                            locale.timeFormat(QLocale::ShortFormat))
        .toStdString();
}

bool IsBeyondDriveRoot(const std::string& path) {
    return !path.empty() && MountTable::VolumeOf(path).mountPoint != path;
}

void GetFileSizeAndDateTexts(LPCITEMIDLIST absolutePidl, std::string& sizeText,
                             std::string& modifiedText) {
    sizeText.clear();
    modifiedText.clear();
    const std::string path = PidlToPath(absolutePidl);
    struct statx info {};
    if (path.empty() || IsDriveRoot(absolutePidl, path) || !StatPath(path, info)) {
        return;
    }
    if (!S_ISDIR(info.stx_mode)) {
        sizeText = FormatSizeKB(info.stx_size);
    }
    const bool modifiedKnown =
        (info.stx_mask & STATX_MTIME) && !FileTimeOf(info.stx_mtime).IsZero();
    const FileTime time = modifiedKnown                   ? FileTimeOf(info.stx_mtime)
                          : (info.stx_mask & STATX_BTIME) ? FileTimeOf(info.stx_btime)
                                                          : FileTime{};
    modifiedText = FormatModifiedTime(FileTimeToLocalDateTime(time));
}

std::string GetItemTypeText(LPCITEMIDLIST absolutePidl, SFGAOF attributes) {
    if (!(attributes & SFGAO_FILESYSTEM)) {
        return "System Folder";
    }
    SHFILEINFO info;
    if (!SHGetFileInfo(absolutePidl, SHGFI_PIDL | SHGFI_TYPENAME, &info)) {
        return {};
    }
    return QString::fromStdString(info.typeName).left(TypeNameLimit).toStdString();
}

TSCDetailTexts GetItemDetailTexts(LPCITEMIDLIST absolutePidl, SFGAOF attributes) {
    TSCDetailTexts texts;
    GetFileSizeAndDateTexts(absolutePidl, texts.Size, texts.Modified);
    texts.Type = GetItemTypeText(absolutePidl, attributes);
    return texts;
}

} // namespace quarn

#include "ShellDetailTexts.h"

#include "ShellUtils.h"
#include "namespace/MountTable.h"
#include "namespace/Namespace.h"

#include <QDateTime>
#include <QLocale>
#include <fcntl.h>
#include <sys/stat.h>

namespace quarn {

namespace {

constexpr qsizetype TypeNameLimit = 80;

std::int64_t Nanoseconds(const statx_timestamp& time) {
    return time.tv_sec * 1'000'000'000 + time.tv_nsec;
}

// The entry itself; a link is read through to its target when there is one.
bool LookUp(const std::string& path, struct statx& status) {
    constexpr unsigned mask = STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_BTIME;
    return statx(AT_FDCWD, path.c_str(), 0, mask, &status) == 0 ||
           statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, mask, &status) == 0;
}

std::string DateTimeText(std::int64_t ns) {
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(ns / 1'000'000);
    const QLocale locale;
    return (locale.toString(time.date(), QLocale::ShortFormat) + ' ' +
            locale.toString(time.time(), QLocale::ShortFormat))
        .toStdString();
}

} // namespace

std::string FormatSizeKB(std::uint64_t size) {
    const std::uint64_t kilobytes = size / 1024 + (size % 1024 != 0 ? 1 : 0);
    return QLocale().toString(static_cast<qulonglong>(kilobytes)).toStdString() + "KB";
}

bool IsDriveRoot(const std::string& path) {
    for (const Volume& volume : MountTable::Volumes()) {
        if (volume.mountPoint == path) {
            return true;
        }
    }
    return false;
}

bool IsBeyondDriveRoot(const std::string& path) {
    return !path.empty() && !IsDriveRoot(path);
}

void GetFileSizeAndDateTexts(LPCITEMIDLIST absolutePidl, std::string& sizeText,
                             std::string& modifiedText) {
    sizeText.clear();
    modifiedText.clear();
    const std::string path = PidlToPath(absolutePidl);
    struct statx status {};
    if (!IsBeyondDriveRoot(path) || !LookUp(path, status)) {
        return;
    }
    if (!S_ISDIR(status.stx_mode)) {
        sizeText = FormatSizeKB(status.stx_size);
    }
    const std::int64_t modified = Nanoseconds(status.stx_mtime);
    const bool born = status.stx_mask & STATX_BTIME;
    modifiedText = DateTimeText(modified != 0 || !born ? modified : Nanoseconds(status.stx_btime));
}

std::string GetItemTypeText(LPCITEMIDLIST absolutePidl, SFGAOF attributes) {
    if (!(attributes & SFGAO_FILESYSTEM)) {
        return "System Folder";
    }
    SHFILEINFO info;
    if (!SHGetFileInfo(absolutePidl, SHGFI_PIDL | SHGFI_TYPENAME, &info)) {
        return "";
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

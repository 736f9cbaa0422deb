#include "shell/sendto/SendToList.h"

#include "namespace/UserFolders.h"
#include "shell/common/SystemImageList.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/list/ShellListFilter.h"

#include <QCollator>
#include <QLocale>
#include <QString>
#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace quarn {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

QString Text(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Collation in the user's language without regard to case; equal collations go by bytes.
bool Before(const std::string& first, const std::string& second) {
    thread_local const QCollator collator = [] {
        QCollator result(QLocale::system().language() == QLocale::C ? QLocale(QLocale::English)
                                                                    : QLocale::system());
        result.setCaseSensitivity(Qt::CaseInsensitive);
        result.setNumericMode(true);
        return result;
    }();
    const int order = collator.compare(Text(first), Text(second));
    return order != 0 ? order < 0 : first < second;
}

bool IsHidden(const std::string& name) {
    return name.front() == '.';
}

// A folder, but not a symbolic link to one.
bool IsFolder(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

int SmallIconIndex(const std::string& path) {
    LPITEMIDLIST list = nullptr;
    if (Failed(PathToPidl(path, list))) {
        return -1;
    }
    const PidlPtr owned(list);
    const int index = GetPidlIconIndex(list, SHGFI_SMALLICON);
    return index > 0 ? index : -1;
}

} // namespace

void TSendToList::Add(std::string name, int iconIndex) {
    const auto place = std::lower_bound(
        entries_.begin(), entries_.end(), name,
        [](const SendToEntry& entry, const std::string& each) { return Before(entry.name, each); });
    if (place != entries_.end() && place->name == name) {
        return;
    }
    entries_.insert(place, {std::move(name), iconIndex});
}

TSendToList& SendToList() {
    static TSendToList list;
    return list;
}

void EnumerateSendToFiles(const std::string& folder, const std::vector<std::string>& masks,
                          TSendToList& list) {
    for (const std::string& mask : masks) {
        const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
        if (!dir) {
            return;
        }
        while (const dirent* entry = ::readdir(dir.get())) {
            const std::string name = entry->d_name;
            const std::string path = JoinPath(folder, name);
            if (IsHidden(name) || !MatchesMask(name, mask) || IsFolder(path)) {
                continue;
            }
            list.Add(name, SmallIconIndex(path));
        }
    }
}

std::string SendToEntryText(const std::string& name) {
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

} // namespace quarn

#include "namespace/Folders.h"
#include "namespace/ItemEnumerators.h"
#include "namespace/UserFolders.h"
#include "platform/PercentEncoding.h"

#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace quarn {

namespace {

// "Path=" of the entry's .trashinfo file; empty when there is none.
std::string OriginalPath(const std::string& trash, std::string_view name) {
    std::ifstream in(JoinPath(trash, "info/" + std::string(name) + ".trashinfo"));
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("Path=")) {
            return PercentDecode(std::string_view(line).substr(5));
        }
    }
    return {};
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

} // namespace

bool TrashFolder::IsChild(const Item& item) const {
    return std::holds_alternative<TrashItem>(item);
}

ComPtr<NamespaceFolder> TrashFolder::BindChild(const Item&) const {
    return nullptr;
}

// Trashed entries are listed as items whatever they were; a missing trash is empty.
HRESULT TrashFolder::EnumObjects(HWND, SHCONTF flags, IEnumIDList** items) {
    if (items == nullptr) {
        return E_POINTER;
    }
    const std::string trash = TrashPath();
    std::vector<std::string> children;
    std::unique_ptr<DIR, DirCloser> dir(opendir(JoinPath(trash, "files").c_str()));
    while (dir && (flags & SHCONTF_NONFOLDERS)) {
        const dirent* entry = readdir(dir.get());
        if (entry == nullptr) {
            break;
        }
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        struct stat info {};
        const bool folder =
            fstatat(dirfd(dir.get()), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISDIR(info.st_mode);
        const std::string original = OriginalPath(trash, name);
        children.push_back(EncodeItem(TrashItem{folder, name, original}));
    }
    *items = MakeCom<ListEnumerator>(std::move(children)).Detach();
    return S_OK;
}

} // namespace quarn

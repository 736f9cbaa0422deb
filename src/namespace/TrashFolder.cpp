#include "Folders.h"
#include "ItemEnumerators.h"
#include "UserFolders.h"

#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace quarn {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The trash info file keeps the original path percent-encoded.
std::string PercentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
            HexDigit(text[i + 2]) >= 0) {
            decoded.push_back(
                static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2])));
            i += 2;
        } else {
            decoded.push_back(text[i]);
        }
    }
    return decoded;
}

// "Path=" of the entry's .trashinfo file; empty when there is none.
std::string OriginalPath(const std::string& trash, std::string_view name) {
    std::ifstream in(JoinPath(trash, "info/" + std::string(name) + ".trashinfo"));
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("Path=")) {
            return PercentDecoded(std::string_view(line).substr(5));
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

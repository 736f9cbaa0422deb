#include "shell/common/ShellLink.h"

#include "shell/idlist/ShellFolders.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarn {

namespace {

constexpr std::int32_t SW_SHOWNORMAL = 1;

HRESULT ReadTarget(const std::string& path, std::string& target) {
    std::string buffer(PATH_MAX, '\0');
    const ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
    if (length < 0) {
        return HResultFromErrno(errno);
    }
    buffer.resize(static_cast<std::size_t>(length));
    if (!buffer.starts_with('/')) {
        const auto slash = path.find_last_of('/');
        buffer = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + buffer;
    }
    target = std::move(buffer);
    return S_OK;
}

HRESULT ResolveTarget(const std::string& path, TFindData& found) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return HResultFromErrno(errno);
    }
    found.dwFileAttributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : 0;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        found.dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
    }
    found.nFileSize = static_cast<std::uint64_t>(info.st_size);
    found.ftLastWriteTime = FileTimeOf(info.st_mtim);
    found.cFileName = path.substr(path.find_last_of('/') + 1);
    return S_OK;
}

} // namespace

HRESULT ReadShellLink(const std::string& path, TLinkData& data, bool wantList) {
    std::string target;
    if (const HRESULT hr = ReadTarget(path, target); Failed(hr)) {
        return hr;
    }
    if (const HRESULT hr = ResolveTarget(target, data.FindData); Failed(hr)) {
        return hr;
    }
    data.Path = target;
    data.Arguments.clear();
    data.Description.clear();
    data.IconLocation.clear();
    data.IconIndex = 0;
    data.WorkingDirectory.clear();
    data.ShowCmd = SW_SHOWNORMAL;
    data.HotKey = 0;
    data.Valid = LinkDataValid;
    data.IdList = nullptr;
    if (wantList) {
        return PathToPidl(target, data.IdList);
    }
    return S_OK;
}

} // namespace quarn

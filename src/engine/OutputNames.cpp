#include "engine/OutputNames.h"

#include "platform/PosixFile.h"

#include <sys/stat.h>

namespace quarn {

EntryKind KindOfEntry(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return EntryKind::None;
    }
    if (S_ISREG(info.st_mode)) {
        return EntryKind::File;
    }
    return S_ISLNK(info.st_mode) ? EntryKind::Link : EntryKind::Special;
}

bool FileExists(const std::string& path) {
    const EntryKind kind = KindOfEntry(path);
    return kind == EntryKind::File || kind == EntryKind::Link;
}

std::string ExtensionOf(const std::string& path) {
    const std::string name = NamePart(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

bool IsEncryptedFile(const std::string& path) {
    std::string ext = ExtensionOf(path);
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return ext == EncryptedExtension;
}

std::string ReplaceExtension(const std::string& path, const std::string& ext) {
    const std::size_t current = ExtensionOf(path).size();
    return path.substr(0, path.size() - current) + ext;
}

std::string NextNumberedName(const std::string& folder) {
    // Any entry takes a number: a folder called "0.zot!" could not be written either.
    struct stat info {};
    for (unsigned long long n = 0;; ++n) {
        std::string name = std::to_string(n) + EncryptedExtension;
        if (::lstat((folder + name).c_str(), &info) != 0) {
            return name;
        }
    }
}

std::string EncryptedOutputPath(const std::string& source, const std::string& folder,
                                const EngineOptions& options) {
    if (options.EncryptName) {
        return folder + NextNumberedName(folder);
    }
    if (options.AppendExtension) {
        return source + EncryptedExtension;
    }
    return ReplaceExtension(source, EncryptedExtension);
}

} // namespace quarn

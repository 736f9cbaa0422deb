#include "engine/OutputNames.h"

#include "platform/AsciiText.h"
#include "platform/PosixFile.h"
#include "platform/SafeFile.h"

namespace quarn {

std::string ExtensionOf(const std::string& path) {
    const std::string name = NamePart(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

bool IsEncryptedFile(const std::string& path) {
    return AsciiLower(ExtensionOf(path)) == EncryptedExtension;
}

std::string ReplaceExtension(const std::string& path, const std::string& ext) {
    const std::size_t current = ExtensionOf(path).size();
    return path.substr(0, path.size() - current) + ext;
}

std::string NextNumberedName(const std::string& folder) {
    // Any entry takes a number: a folder called "0.zot!" could not be written either.
    for (unsigned long long n = 0;; ++n) {
        std::string name = std::to_string(n) + EncryptedExtension;
        if (KindOfEntry(folder + name) == EntryKind::None) {
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

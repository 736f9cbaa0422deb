#include "clu/CommandLine.h"

#include "platform/PosixFile.h"

#include <cerrno>
#include <climits>
#include <unistd.h>

namespace quarn::clu {

std::vector<std::string> RawArguments(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc && argv[i] != nullptr; ++i) {
        args.emplace_back(argv[i]);
    }
    return args;
}

std::optional<TCommandLine> ParseCommandLine(const std::vector<std::string>& args) {
    if (args.size() < 3) {
        return std::nullopt;
    }
    TCommandLine line;
    const std::string& option = args[1];
    if (option == "/e") {
        line.Operation = TOperation::Encrypt;
    } else if (option == "/d") {
        line.Operation = TOperation::Decrypt;
    } else if (option == "/w") {
        line.Operation = TOperation::Wipe;
    } else {
        return std::nullopt;
    }
    if (args[2] == ZotShellWord) {
        line.ZotShell = true;
    } else {
        line.Files.assign(args.begin() + 2, args.end());
    }
    return line;
}

std::string WorkingFolder() {
    std::string buffer(PATH_MAX + 1, '\0');
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1u << 20)) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(buffer.find('\0'));
    // getcwd marks a folder that is no longer reachable with "(unreachable)".
    if (buffer.empty() || buffer.front() != '/') {
        return {};
    }
    if (buffer.back() != '/') {
        buffer += '/';
    }
    return buffer;
}

std::string AbsolutePath(const std::string& path, const std::string& workingFolder) {
    if (path.empty() || path.front() == '/' || workingFolder.empty()) {
        return path;
    }
    std::string relative = path;
    while (relative.size() > 2 && relative.compare(0, 2, "./") == 0) {
        relative.erase(0, 2);
        while (relative.size() > 1 && relative.front() == '/') {
            relative.erase(0, 1);
        }
    }
    return workingFolder + relative;
}

std::vector<std::string> BuildFileList(const std::vector<std::string>& contextMenuFiles,
                                       const TCommandLine& commandLine,
                                       const std::string& workingFolder) {
    std::vector<std::string> files;
    files.reserve(contextMenuFiles.size() + commandLine.Files.size());
    for (const auto& file : contextMenuFiles) {
        files.push_back(AbsolutePath(file, workingFolder));
    }
    if (!commandLine.ZotShell) {
        for (const auto& file : commandLine.Files) {
            files.push_back(AbsolutePath(file, workingFolder));
        }
    }
    return files;
}

std::string FirstFolder(const std::vector<std::string>& files) {
    for (const auto& file : files) {
        std::string folder = FolderPart(file);
        if (!folder.empty()) {
            return folder;
        }
    }
    return {};
}

} // namespace quarn::clu

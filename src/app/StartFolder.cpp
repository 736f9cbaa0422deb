#include "app/StartFolder.h"

#include "platform/PosixFile.h"

#include <filesystem>
#include <sys/stat.h>

namespace quarn {

namespace {

bool FolderExists(const std::string& path) {
    struct stat status {};
    return !path.empty() && ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The folder part of the argument, made absolute first; "" when it has none.
std::string ArgumentFolder(const std::string& argument) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(argument, error);
    return error || argument.empty() ? std::string() : FolderPart(absolute.string());
}

} // namespace

StartFolderChoice ChooseStartFolder(const std::vector<std::string>& arguments, std::uint8_t startup,
                                    const std::string& startupFolder) {
    StartFolderChoice choice;
    if (!arguments.empty()) {
        const std::string folder = ArgumentFolder(arguments.front());
        if (FolderExists(folder)) {
            choice.Folder = folder;
            return choice;
        }
    }
    // The last folder is stored empty when it was a virtual one (the desktop, Computer) or
    // until the window first closes: the tree's default then, without a word.
    const bool noLastFolder = startup == 1 && startupFolder.empty();
    if (startup != 0 && !noLastFolder) {
        if (FolderExists(startupFolder)) {
            choice.Folder = startupFolder;
        } else {
            choice.StartupFolderMissing = true;
        }
    }
    return choice;
}

std::string StartupFolderMissingText(const std::string& startupFolder) {
    return "The Start-up Folder specified in Options '" + startupFolder +
           "' no longer exists. \r\n\r\nPlease specify a new Start-up Folder, or select a "
           "different Start-up Folder option.";
}

} // namespace quarn

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarn {

// Where the folder tree goes when the program has started.
struct StartFolderChoice {
    // "" leaves the tree at its own default folder.
    std::string Folder;
    // The settings name a start-up folder that no longer exists: the user is told.
    bool StartupFolderMissing = false;
};

// The folder of the first argument (the path of an encrypted file the desktop opens, or any
// path; relative ones count from the working folder) when that folder exists; otherwise,
// with startup 1 or 2, startupFolder when it exists. With startup 1 an empty startupFolder
// is no last folder, not a missing one.
StartFolderChoice ChooseStartFolder(const std::vector<std::string>& arguments, std::uint8_t startup,
                                    const std::string& startupFolder);

// The warning for a start-up folder that no longer exists.
std::string StartupFolderMissingText(const std::string& startupFolder);

} // namespace quarn

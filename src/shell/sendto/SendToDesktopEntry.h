#pragma once

// The desktop entries (".desktop" files) of the Send To folder: the keys that start their
// program, and the command lines their Exec key gives for the files sent to them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarn {

// The keys of the [Desktop Entry] group that starting the program needs, escapes undone.
struct DesktopEntry {
    std::string type;
    std::string name;
    std::string icon;
    std::string exec;
    std::string path; // the working folder; "" for ours
};

DesktopEntry ParseDesktopEntry(std::string_view text);

using CommandLine = std::vector<std::string>; // the program, then its arguments

// The command lines that start the entry's program with files (raw paths, passed as they
// are). %F and %U stand for all the files, %f and %u for one, so the program is started once
// per file; %i gives "--icon" and the icon, %c the name, %k entryPath, %% a "%". A line
// without one of the four file codes gets the files at its end. Empty when the line is not
// valid: no program, an open quote, a field code the format does not know.
std::vector<CommandLine> ExpandExecLine(const DesktopEntry& entry, const std::string& entryPath,
                                        const std::vector<std::string>& files);

} // namespace quarn

#pragma once

#include <string>

namespace quarn {

// What the desktop is told of a registered file type.
struct DesktopFileType {
    std::string Extension;   // ".zot!"
    std::string ProgID;      // "Quarn!": the program's name
    std::string Description; // "Quarn! Encrypted File"
    std::string ProgramPath; // the program file's full path
};

// "application/x-quarn-zot" for "Quarn!" and ".zot!".
std::string DesktopMimeType(const DesktopFileType& type);
// "quarn": the desktop entry "quarn.desktop" and the icon name.
std::string DesktopName(const DesktopFileType& type);

// Writes the shared-mime-info package ($XDG_DATA_HOME/mime/packages/quarn-zot.xml) and the
// desktop entry ($XDG_DATA_HOME/applications/quarn.desktop) when they differ from what is
// there, and refreshes the desktop's caches with update-mime-database and
// update-desktop-database when those are installed. Never fails and shows nothing.
void PublishFileType(const DesktopFileType& type);

// The Exec value that starts programPath with the chosen file, then "%f". The path is in
// double quotes only when it holds a character the desktop entry format reserves (blanks,
// quotes, backslash, shell operators and wildcards), with ", `, $ and \ escaped inside them;
// "%" is doubled, and the whole is escaped as a string value. Launchers that split the line at
// blanks (xdg-open outside GNOME, KDE and Xfce) take an unquoted path, never a quoted one.
std::string DesktopExecLine(const std::string& programPath);

} // namespace quarn

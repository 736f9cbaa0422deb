#pragma once

#include "namespace/ComBase.h"
#include "namespace/FileClipboard.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quarn {

// What the verbs of our context menu ask of the desktop around the program: its default
// applications, the clipboard and a properties window. The namespace shows nothing itself:
// each program installs the Qt services (src/shell/QtDesktopServices.h), tests scripted ones.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;
    // Asks the desktop's default application to open the file or folder, and returns at
    // once. failed runs on the interface thread when none could open it: at once, or later,
    // when the desktop reports it.
    virtual void OpenPath(const std::string& path, std::function<void()> failed) = 0;
    // Replaces what the clipboard holds; empty data empties it.
    virtual void SetClipboard(const MimeData& data) = 0;
    // What the clipboard holds in the FileClipboardTypes.
    virtual MimeData Clipboard() = 0;
    // Shows the properties of the entries in a window of the owner's.
    virtual void ShowProperties(HWND owner, const std::vector<std::string>& paths) = 0;
};

// The process-wide services. Throws std::logic_error while none is installed.
DesktopServices& InstalledDesktop();
// Installs services; returns the previous ones.
std::unique_ptr<DesktopServices> InstallDesktopServices(std::unique_ptr<DesktopServices> services);

} // namespace quarn

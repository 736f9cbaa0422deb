#pragma once

#include "namespace/DesktopServices.h"

namespace quarn {

// The desktop for our context menu's verbs: the default applications through the desktop's
// opener, the application's clipboard, and the properties window. Owners are the QWidget
// that GetOwnerFormHandle answers.
class QtDesktopServices final : public DesktopServices {
public:
    void OpenPath(const std::string& path, std::function<void()> failed) override;
    void SetClipboard(const MimeData& data) override;
    MimeData Clipboard() override;
    void ShowProperties(HWND owner, const std::vector<std::string>& paths) override;
};

} // namespace quarn

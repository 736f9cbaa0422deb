#include "app/WebPage.h"

#include "platform/MessageService.h"
#include "platform/gui/DesktopOpener.h"

#include <QUrl>

namespace quarn {

namespace {

void ShowNoBrowser(const std::string& address) {
    Messages().Show(MessageKind::Information,
                    "Unable to launch web browser: There is no default application associated "
                    "with web browsing on your computer.\r\n\r\nPlease visit: " +
                        address,
                    MessageButtons::Ok);
}

} // namespace

bool OpenWebPage(const std::string& address) {
    const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    if (!url.isValid() || url.isRelative()) {
        ShowNoBrowser(address);
        return false;
    }
    OpenWithDesktop(url.toEncoded().toStdString(), [address] { ShowNoBrowser(address); });
    return true;
}

} // namespace quarn

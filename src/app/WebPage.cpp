#include "app/WebPage.h"

#include "platform/MessageService.h"

#include <QDesktopServices>
#include <QUrl>

namespace quarn {

bool OpenWebPage(const std::string& address) {
    const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    if (url.isValid() && !url.isRelative() && QDesktopServices::openUrl(url)) {
        return true;
    }
    Messages().Show(MessageKind::Information,
                    "Unable to launch web browser: There is no default application associated "
                    "with web browsing on your computer.\r\n\r\nPlease visit: " +
                        address,
                    MessageButtons::Ok);
    return false;
}

} // namespace quarn

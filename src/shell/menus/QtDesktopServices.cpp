#include "shell/menus/QtDesktopServices.h"

#include "platform/gui/DesktopOpener.h"
#include "shell/menus/ItemPropertiesDialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QWidget>

namespace quarn {

namespace {
QByteArray Bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

// The URI carries the raw name bytes, so names that are not UTF-8 open too.
void QtDesktopServices::OpenPath(const std::string& path, std::function<void()> failed) {
    OpenWithDesktop(FileUri(path), std::move(failed));
}

void QtDesktopServices::SetClipboard(const MimeData& data) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (data.empty()) {
        clipboard->clear();
        return;
    }
    auto* mime = new QMimeData;
    for (const auto& [type, bytes] : data) {
        mime->setData(QString::fromStdString(type), Bytes(bytes));
    }
    clipboard->setMimeData(mime);
}

MimeData QtDesktopServices::Clipboard() {
    MimeData data;
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    for (const char* type : FileClipboardTypes) {
        if (mime && mime->hasFormat(QLatin1String(type))) {
            data[type] = mime->data(QLatin1String(type)).toStdString();
        }
    }
    return data;
}

void QtDesktopServices::ShowProperties(HWND owner, const std::vector<std::string>& paths) {
    auto* dialog = new ItemPropertiesDialog(paths, static_cast<QWidget*>(owner));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

} // namespace quarn

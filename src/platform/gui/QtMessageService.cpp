#include "platform/gui/QtMessageService.h"

#include "platform/gui/Application.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace quarn {

namespace {
QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons QtButtons(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        break;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QString DisplayText(const std::string& text) {
    QString shown = QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

// "Name (*.a;*.b)|*.a;*.b|..." to Qt's ";;" form. "*.*" means every file, also those
// whose name has no dot.
QString QtFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        if (patterns == QStringLiteral("*.*")) {
            patterns = QStringLiteral("*");
        }
        filters << parts[i] + QStringLiteral(" (") + patterns + QStringLiteral(")");
    }
    return filters.join(QStringLiteral(";;"));
}

// The window that owns a box or dialog: the active window, unless a busy operation has
// disabled it (a box it owned would be disabled with it).
QWidget* Owner() {
    QWidget* active = QApplication::activeWindow();
    return active != nullptr && active->isEnabled() ? active : nullptr;
}

// A modal box. File names may look like markup ("<b>x</b>.txt"): the text is shown as it
// stands. Application-modal, so that it stays usable while a busy operation has disabled
// the other windows.
int ExecBox(QMessageBox::Icon icon, const QString& title, const QString& text,
            QMessageBox::StandardButtons buttons, QWidget* parent) {
    QMessageBox box(icon, title, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec();
}

// Qt's own save dialog, which accepts a name in a folder that does not exist: this one
// refuses it and stays open, as the desktop's save dialog does.
class SaveFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override {
        const QStringList files = selectedFiles();
        if (!files.isEmpty()) {
            const QFileInfo chosen(files.constFirst());
            if (!chosen.isDir() && !chosen.absoluteDir().exists()) {
                ExecBox(
                    QMessageBox::Warning, windowTitle(),
                    QStringLiteral("The folder \"%1\" does not exist.").arg(chosen.absolutePath()),
                    QMessageBox::Ok, this);
                return;
            }
        }
        QFileDialog::accept();
    }
};
} // namespace

MessageAnswer QtMessageService::Show(MessageKind kind, const std::string& text,
                                     MessageButtons buttons) {
    const int answer = ExecBox(IconOf(kind), QString::fromStdString(ApplicationTitle()),
                               DisplayText(text), QtButtons(buttons), Owner());
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::YesNo:
        return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    case MessageButtons::OkCancel:
        return answer == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
    return MessageAnswer::Ok;
}

std::optional<std::string> QtMessageService::AskSaveFile(const SaveDialogRequest& request) {
    SaveFileDialog dialog(Owner(), QString::fromStdString(request.title),
                          QFile::decodeName(QByteArray::fromStdString(request.initialFolder)));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // "All Files (*.*)" as it stands, without Qt's own pattern list after it.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QtFilter(request.filter));
    QString suffix = QFile::decodeName(QByteArray::fromStdString(request.defaultExtension));
    if (suffix.startsWith('.')) {
        suffix.remove(0, 1);
    }
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(request.fileName)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

// Qt's own dialog in folder mode: the instruction stands where the chosen folder's name is
// typed.
std::optional<std::string> QtMessageService::AskFolder(const std::string& instruction) {
    QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Browse for Folder"),
                       QDir::homePath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setLabelText(QFileDialog::FileName, QString::fromUtf8(instruction));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

} // namespace quarn

#include "shell/menus/ItemPropertiesDialog.h"

#include "namespace/ItemProperties.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>
#include <algorithm>

namespace quarn {

namespace {

QString Text(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString SizeText(std::uint64_t bytes) {
    const QLocale locale;
    return QObject::tr("%1 (%2 bytes)")
        .arg(locale.formattedDataSize(static_cast<qint64>(bytes)),
             locale.toString(static_cast<qulonglong>(bytes)));
}

QString DateText(FileTime time) {
    return QLocale().toString(DateTimeOf(time).toLocalTime(), QLocale::LongFormat);
}

// "rw-r--r-- (644)"
QString PermissionText(std::uint32_t mode) {
    QString text;
    for (int shift = 6; shift >= 0; shift -= 3) {
        text += (mode >> shift) & 4 ? 'r' : '-';
        text += (mode >> shift) & 2 ? 'w' : '-';
        text += (mode >> shift) & 1 ? 'x' : '-';
    }
    return text + QStringLiteral(" (%1)").arg(mode & 07777, 3, 8, QLatin1Char('0'));
}

// "1 item", "3 items".
QString Counted(std::uint64_t count, const QString& one, const QString& many) {
    return QStringLiteral("%1 %2").arg(QLocale().toString(static_cast<qulonglong>(count)),
                                       count == 1 ? one : many);
}

QString Common(const std::vector<ItemProperties>& items, std::string ItemProperties::*field,
               const QString& otherwise) {
    const std::string& first = items.front().*field;
    const bool same = std::all_of(items.begin(), items.end(),
                                  [&](const ItemProperties& item) { return item.*field == first; });
    return same ? Text(first) : otherwise;
}

} // namespace

ItemPropertiesDialog::ItemPropertiesDialog(const std::vector<std::string>& paths, QWidget* parent)
    : QDialog(parent), fields_(new QFormLayout) {
    setObjectName(QStringLiteral("ItemPropertiesDialog"));
    std::vector<ItemProperties> items;
    for (const std::string& path : paths) {
        if (auto item = ReadItemProperties(path)) {
            items.push_back(std::move(*item));
        }
    }
    if (items.size() == 1) {
        ShowOne(items.front());
    } else if (!items.empty()) {
        ShowMany(items);
    } else {
        setWindowTitle(tr("Properties"));
        AddRow(tr("Name"), tr("The items can no longer be read."));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields_);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

void ItemPropertiesDialog::ShowOne(const ItemProperties& item) {
    setWindowTitle(tr("%1 Properties").arg(Text(item.name)));
    AddRow(tr("Name"), Text(item.name));
    AddRow(tr("Kind"), Text(item.kind));
    AddRow(tr("Location"), Text(item.location));
    if (item.folder) {
        AddRow(tr("Contains"), Counted(item.entries, tr("item"), tr("items")));
    } else {
        AddRow(tr("Size"), SizeText(item.size));
    }
    AddRow(tr("Modified"), DateText(item.modified));
    if (!item.created.IsZero()) {
        AddRow(tr("Created"), DateText(item.created));
    }
    AddRow(tr("Permissions"), PermissionText(item.mode));
    AddRow(tr("Owner"), Text(item.owner));
    AddRow(tr("Group"), Text(item.group));
}

void ItemPropertiesDialog::ShowMany(const std::vector<ItemProperties>& items) {
    const QString count = Counted(items.size(), tr("item"), tr("items"));
    setWindowTitle(tr("%1 Properties").arg(count));
    std::uint64_t size = 0;
    std::uint64_t folders = 0;
    for (const ItemProperties& item : items) {
        size += item.size;
        folders += item.folder;
    }
    AddRow(tr("Name"), count);
    AddRow(tr("Kind"), Common(items, &ItemProperties::kind, tr("Multiple types")));
    AddRow(tr("Location"), Common(items, &ItemProperties::location, tr("Several folders")));
    AddRow(tr("Contains"), Counted(items.size() - folders, tr("file"), tr("files")) +
                               QStringLiteral(", ") +
                               Counted(folders, tr("folder"), tr("folders")));
    AddRow(tr("Size of the files"), SizeText(size));
}

// A read-only field that the label names, for the keyboard and for screen readers.
void ItemPropertiesDialog::AddRow(const QString& label, const QString& value) {
    auto* field = new QLineEdit(value);
    field->setReadOnly(true);
    field->setFrame(false);
    field->setCursorPosition(0);
    field->setAccessibleName(label);
    field->setObjectName(label);
    auto* caption = new QLabel(label + QLatin1Char(':'));
    caption->setBuddy(field);
    fields_->addRow(caption, field);
}

} // namespace quarn

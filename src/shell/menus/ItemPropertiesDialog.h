#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QFormLayout;

namespace quarn {

struct ItemProperties;

// The properties of file-system entries: for one its name, kind, location, size (or what a
// folder holds), dates, permissions and owner; for several their count, common kind and
// folder and total size. Read-only fields that keyboard and screen readers reach.
class ItemPropertiesDialog : public QDialog {
    Q_OBJECT

public:
    explicit ItemPropertiesDialog(const std::vector<std::string>& paths, QWidget* parent = nullptr);

private:
    void ShowOne(const ItemProperties& item);
    void ShowMany(const std::vector<ItemProperties>& items);
    void AddRow(const QString& label, const QString& value);

    QFormLayout* fields_;
};

} // namespace quarn

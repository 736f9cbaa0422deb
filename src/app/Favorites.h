#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

class QKeyEvent;
class QTreeWidgetItem;

namespace quarn {

class MainWindowHost;

// The modal result of the favorites manager's OK when nothing was changed: nothing to save.
inline constexpr int mrIgnore = 5;

// The favorites manager: the favorite folders in a sorted list, with Goto, Add, Add current
// and Remove on its tool bar (Insert adds, Delete removes, Enter or a double click goes to a
// favorite). Goto moves the main window's tree and closes the manager. Its result is
// QDialog::Accepted after OK when the list was changed, mrIgnore after OK (or Goto) without a
// change, QDialog::Rejected after Cancel. F1 and the caption's help button show the help topic
// "favorites". Controls are found by their names ("lvFavorites", "tbAdd", "bOk", ...).
class TfFavorites : public QDialog {
    Q_OBJECT

public:
    explicit TfFavorites(MainWindowHost& host, QWidget* owner = nullptr);
    ~TfFavorites() override;

    // An item for the path in its sorted place, unless the list has one already; the item.
    QTreeWidgetItem* AddItem(const std::string& path);
    // The items' paths in the list's order.
    std::vector<std::string> Items() const;

private:
    struct Form;

    void WMSysCommand();
    bool FormKeyDown(const QKeyEvent& key);
    bool FormKeyUp(const QKeyEvent& key);
    void bOkClick();
    void tbGotoClick();
    void tbAddClick();
    void tbAddCurrentClick();
    void tbRemoveClick();

    void AddAndSelect(const std::string& path);
    void SelectAndShow(QTreeWidgetItem* item);
    QTreeWidgetItem* SelectedItem() const;

    MainWindowHost& host_;
    std::unique_ptr<Form> form_;
    bool Changed = false;
    int pressedKey_ = 0; // the key last pressed on the form, while it is down
};

} // namespace quarn

#include "app/Main.h"
#include "app/MainForm.h"
#include "app/SizeFormat.h"
#include "app/StatusBar.h"
#include "platform/gui/Guard.h"
#include "shell/list/ShellList.h"
#include "shell/list/ShellListData.h"
#include "shell/winapi/VirtualKeys.h"

#include <QKeyEvent>
#include <QTimer>
#include <sys/stat.h>

namespace quarn {

namespace {

constexpr int LightsRightOfPanel = 55; // the lights' panel and the gaps
constexpr int LightsBelowPanelTop = 3;

// "1 file" + suffix, or the count + " files" + suffix.
QString CountText(int count, const char* one, const char* many, const std::string& suffix) {
    const std::string text = count == 1 ? std::string(one) : std::to_string(count) + " " + many;
    return QString::fromStdString(text + suffix);
}

std::string SizeSuffix(bool shown, std::uint64_t size) {
    return shown ? ", " + FormatSize(size) : std::string();
}

} // namespace

void TfMain::UpdateStatusBar() {
    TStatusBar& bar = *form_->StatusBar;
    bar.SetPanelText(0, CountText(scsList->Count(), "1 file", "files",
                                  SizeSuffix(settings_.DisplayFolderSize, FolderSize)));
    bar.SetPanelText(1, CountText(scsList->SelCount(), "1 file selected", "files selected",
                                  SizeSuffix(settings_.DisplaySelectedSize, SelectedSize)));
}

std::uint64_t TfMain::GetFileSize(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
}

std::uint64_t TfMain::TotalSize(const std::vector<std::string>& names) const {
    if (CurrentFolder.empty()) {
        return 0;
    }
    std::uint64_t total = 0;
    for (const std::string& name : names) {
        total += GetFileSize(CurrentFolder + name);
    }
    return total;
}

std::vector<std::string> TfMain::ListedNames() const {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(scsList->Count()));
    for (int item = 0; item < scsList->Count(); ++item) {
        if (TSCShListData* data = scsList->GetItemData(item)) {
            names.push_back(data->GetDisplayName());
        }
    }
    return names;
}

void TfMain::ComputeFolderSize() {
    if (settings_.DisplayFolderSize) {
        FolderSize = TotalSize(ListedNames());
    }
}

void TfMain::ComputeSelectedSize() {
    if (settings_.DisplaySelectedSize) {
        SelectedSize = TotalSize(scsList->SelectedDisplayNames());
    }
}

// The list reports the click before its view has handled it (a click on empty space clears
// the selection then): the selection is counted once the click is through.
void TfMain::scsListClick() {
    QTimer::singleShot(0, this, Guarded([this] {
                           ComputeSelectedSize();
                           UpdateStatusBar();
                       }));
}

// Every change of the list's selection is counted once it is through, a burst of changes
// once. While a command runs the count waits for its end: the engine writes into the panels.
void TfMain::scsListSelectionChanged() {
    if (!selectionCountDue_) {
        selectionCountDue_ = true;
        QTimer::singleShot(0, this, Guarded([this] { CountChangedSelection(); }));
    }
}

void TfMain::CountChangedSelection() {
    if (!selectionCountDue_ || commandRunning_) {
        return;
    }
    selectionCountDue_ = false;
    ComputeSelectedSize();
    UpdateStatusBar();
}

void TfMain::scsListItemContextMenu() {
    ComputeSelectedSize();
    UpdateStatusBar();
}

void TfMain::scsListKeyUp(const QKeyEvent& key) {
    const std::uint8_t code = VirtualKeyOf(key.key(), key.modifiers());
    if (code >= VK_PRIOR && code <= VK_DOWN) {
        ComputeSelectedSize();
        UpdateStatusBar();
    }
}

void TfMain::tbSelectAllClick() {
    scsList->SelectAllItems();
    if (settings_.DisplaySelectedSize) {
        SelectedSize = TotalSize(ListedNames());
    }
    UpdateStatusBar();
}

void TfMain::InvertSelection1Click() {
    scsList->InvertSelection();
    ComputeSelectedSize();
    UpdateStatusBar();
}

void TfMain::StatusBarResize() {
    TStatusBar& bar = *form_->StatusBar;
    const int width = (bar.width() - LightsRightOfPanel) / 2;
    bar.SetPanelWidth(0, width);
    bar.SetPanelWidth(1, width);
    const QRect panel = bar.PanelRect(2);
    form_->pStatus->setGeometry(panel.left(), panel.top() + LightsBelowPanelTop,
                                form_->pStatus->width(), form_->pStatus->height());
}

} // namespace quarn

#include "app/ItemFilters.h"
#include "app/Main.h"
#include "app/MainForm.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Hourglass.h"
#include "shell/common/TextChars.h"
#include "shell/idlist/ShellNames.h"
#include "shell/list/ShellList.h"
#include "shell/list/ShellListData.h"
#include "shell/tree/ShellTree.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QItemSelectionModel>

namespace quarn {

namespace {
constexpr int TreeIndent = 19;
} // namespace

void TfMain::CreateShellControls() {
    scsTree = new TSCShellTree(this);
    scsTree->setObjectName(QStringLiteral("scsTree"));
    scsTree->setFrameShape(QFrame::NoFrame);
    scsTree->setIndentation(TreeIndent);
    scsList = new TSCShellList(this);
    scsList->setObjectName(QStringLiteral("scsList"));
    scsList->View()->setFrameShape(QFrame::NoFrame);
    scsTree->OnAddItem = [this](QWidget*, IShellFolder*, LPCITEMIDLIST parentAbsolutePidl,
                                LPCITEMIDLIST itemRelativePidl, SFGAOF, bool& allowAdd) {
        scsTreeAddItem(parentAbsolutePidl, itemRelativePidl, allowAdd);
    };
    scsList->OnAddItem = [this](QWidget*, IShellFolder* parentFolder, LPCITEMIDLIST,
                                LPCITEMIDLIST itemRelativePidl, SFGAOF attributes, bool& allowAdd) {
        scsListAddItem(parentFolder, itemRelativePidl, attributes, allowAdd);
    };
    scsList->OnFillComplete = [this](QWidget*) { scsListFillComplete(); };
    scsList->OnClick = [this](QWidget*) { scsListClick(); };
    connect(scsList->SelectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { scsListSelectionChanged(); });
    scsList->OnKeyUp = [this](QWidget*, QKeyEvent* key) { scsListKeyUp(*key); };
    scsList->OnItemContextMenu = [this](QWidget*, int, QPoint&, QMenu*&) {
        scsListItemContextMenu();
    };
    scsTree->setAccessibleName(QStringLiteral("Folders"));
    for (QAbstractItemView* view :
         scsList->findChildren<QAbstractItemView*>(Qt::FindDirectChildrenOnly)) {
        view->setAccessibleName(QStringLiteral("Files"));
    }
    scsTree->WriteShellList(scsList);
    form_->PlaceShellControls(scsTree, scsList);
}

void TfMain::scsTreeAddItem(LPCITEMIDLIST parentAbsolutePidl, LPCITEMIDLIST itemRelativePidl,
                            bool& allowAdd) {
    if (!TreeShowsItem(parentAbsolutePidl, itemRelativePidl)) {
        allowAdd = false;
    }
}

void TfMain::scsListAddItem(IShellFolder* parentFolder, LPCITEMIDLIST itemRelativePidl,
                            SFGAOF attributes, bool& allowAdd) {
    allowAdd = ListShowsItem(
        attributes, GetPidlDisplayName(parentFolder, itemRelativePidl, ParsingDisplayName));
}

void TfMain::scsListFillComplete() {
    const std::string path = scsList->Folder().GetPath();
    const std::string folder = path.empty() ? path : AppendCharIfMissing(path, '/');
    if (commandRunning_) {
        pendingFolder_ = folder;
    } else {
        ListFilled(folder);
    }
}

void TfMain::ListFilled(const std::string& folder) {
    CurrentFolder = folder;
    ComputeFolderSize();
    ComputeSelectedSize();
    UpdateStatusBar();
}

std::string TfMain::TreeSelectedPath() {
    return scsTree->GetSelectedPath();
}

std::string TfMain::TreeSelectedCaption() {
    const TSCShellTreeNode* node = scsTree->Selected();
    return node != nullptr ? node->Text() : std::string();
}

std::string TfMain::TreeCurrentFolderPath() {
    return scsTree->SelectedFolder().GetPath();
}

void TfMain::GoToPath(const std::string& path) {
    scsTree->GoToPath(path);
}

void TfMain::SetShellUpdates(bool enabled) {
    scsTree->setUpdatesEnabled(enabled);
    scsList->setUpdatesEnabled(enabled);
}

int TfMain::CollectSelectedFiles() {
    FileList.clear();
    if (CurrentFolder.empty()) {
        return 0;
    }
    for (int count = scsList->SelCount(); count > 0; --count) {
        const int item = scsList->Selected();
        if (TSCShListData* data = scsList->GetItemData(item)) {
            FileList.push_back(data->GetDisplayName());
        }
        scsList->SetSelected(item, false);
    }
    return static_cast<int>(FileList.size());
}

void TfMain::tbUpClick() {
    scsTree->GoUp(1);
}

void TfMain::tbRefreshClick() {
    const Hourglass hourglass;
    scsTree->Refresh();
    scsList->Refresh();
}

} // namespace quarn

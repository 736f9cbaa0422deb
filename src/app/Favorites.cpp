#include "app/Favorites.h"

#include "app/AccessibleToolBar.h"
#include "app/DialogHelp.h"
#include "app/DirectoryExists.h"
#include "app/FavoritesCommands.h"
#include "app/FavoritesList.h"
#include "app/MainWindowHost.h"
#include "app/common/FormLayout.h"
#include "app/common/KeyPreview.h"
#include "help/HelpFuncs.h"
#include "platform/MessageService.h"
#include "platform/gui/AccessibleRole.h"
#include "platform/gui/CentreWindow.h"
#include "platform/gui/DesignScale.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Named.h"

#include <QBoxLayout>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QSizeGrip>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace quarn {

namespace {

// In the design's pixels, but for the tool bar's pictures and their buttons, which keep theirs.
constexpr QSize ClientSize{358, 220};
constexpr QSize MinimumOuterSize{204, 160};
constexpr QSize ToolButtonSize{30, 29};
constexpr QSize PictureSize{23, 23};
constexpr int ContainerHeight = 37;
constexpr int ButtonGap = 5;

constexpr char GoneAskRemove[] =
    "The folder that the selected favorite references no longer exists.\r\n\r\nWould you like "
    "to remove the selected favorite?";
constexpr char NewFavorite[] = "New Favorite:";

QToolButton* MakeToolButton(const char* name, const char* picture, const char* hint,
                            QWidget* parent) {
    auto* button = Named<QToolButton>(name, parent);
    button->setIcon(QIcon(QStringLiteral(":/quarn/favorites/%1.png").arg(picture)));
    button->setIconSize(PictureSize);
    button->setFixedSize(ToolButtonSize);
    button->setAutoRaise(true);
    button->setToolTip(QString::fromUtf8(hint));
    button->setAccessibleName(QString::fromUtf8(hint));
    return button;
}

bool IsEnter(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

std::string PathOf(const QTreeWidgetItem* item) {
    return item->data(0, Qt::UserRole).toByteArray().toStdString();
}

void ShowMessage(MessageKind kind, const std::string& text) {
    Messages().Show(kind, text, MessageButtons::Ok);
}

} // namespace

struct TfFavorites::Form {
    QWidget* CoolBar = nullptr;
    QToolBar* ToolBar = nullptr;
    QToolButton* tbGoto = nullptr;
    QToolButton* tbAdd = nullptr;
    QToolButton* tbAddCurrent = nullptr;
    QToolButton* tbRemove = nullptr;
    QTreeWidget* lvFavorites = nullptr;
    QWidget* pContainer = nullptr;
    QFrame* Bevel1 = nullptr;
    QWidget* pButtons = nullptr;
    QPushButton* bOk = nullptr;
    QPushButton* bCancel = nullptr;
    QStatusBar* StatusBar = nullptr;

    explicit Form(QDialog* dialog);

private:
    QWidget* MakeCoolBar(QDialog* dialog);
    QWidget* MakeList(QDialog* dialog);
    QWidget* MakeContainer(QDialog* dialog);
};

TfFavorites::Form::Form(QDialog* dialog) {
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(MakeCoolBar(dialog));
    layout->addWidget(MakeList(dialog), 1);
    layout->addWidget(MakeContainer(dialog));
    layout->addWidget(StatusBar = Named<QStatusBar>("StatusBar", dialog));
    if (auto* grip = StatusBar->findChild<QSizeGrip*>()) {
        SetAccessibleRole(grip, QAccessible::Graphic);
        grip->setAccessibleName(QStringLiteral("Size grip"));
    }
}

QWidget* TfFavorites::Form::MakeCoolBar(QDialog* dialog) {
    CoolBar = Named<QWidget>("CoolBar", dialog);
    ToolBar = Named<QToolBar>("ToolBar", CoolBar);
    ToolBar->setIconSize(PictureSize);
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    tbGoto = MakeToolButton("tbGoto", "goto", "Goto the selected Favorite", ToolBar);
    tbAdd = MakeToolButton("tbAdd", "add", "Add a new Favorite", ToolBar);
    tbAddCurrent = MakeToolButton("tbAddCurrent", "add-current",
                                  "Add the current folder as a new Favorite", ToolBar);
    tbRemove = MakeToolButton("tbRemove", "remove", "Remove the selected Favorite", ToolBar);
    ToolBar->addWidget(tbGoto);
    ToolBar->addSeparator();
    ToolBar->addWidget(tbAdd);
    ToolBar->addWidget(tbAddCurrent);
    ToolBar->addWidget(tbRemove);
    AnnounceToolBar(ToolBar, QStringLiteral("Favorites commands"));
    auto* band = new QHBoxLayout(CoolBar);
    band->setContentsMargins(2, 1, 2, 1);
    band->addWidget(ToolBar);
    return CoolBar;
}

QWidget* TfFavorites::Form::MakeList(QDialog* dialog) {
    lvFavorites = Named<QTreeWidget>("lvFavorites", dialog);
    lvFavorites->setHeaderLabels({QStringLiteral("Folders")});
    lvFavorites->setAccessibleName(QStringLiteral("Favorites"));
    lvFavorites->setRootIsDecorated(false);
    lvFavorites->setUniformRowHeights(true);
    lvFavorites->setSelectionMode(QAbstractItemView::SingleSelection);
    lvFavorites->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvFavorites->setFrameShape(QFrame::NoFrame);
    lvFavorites->header()->setSectionsClickable(false);
    lvFavorites->header()->setStretchLastSection(true);
    return lvFavorites;
}

QWidget* TfFavorites::Form::MakeContainer(QDialog* dialog) {
    const DesignScale px = DesignScale::Of(*dialog);
    pContainer = Named<QWidget>("pContainer", dialog);
    pContainer->setFixedHeight(px(ContainerHeight));
    Bevel1 = Named<QFrame>("Bevel1", pContainer);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    SetAccessibleRole(Bevel1, QAccessible::Separator);
    pButtons = Named<QWidget>("pButtons", pContainer);
    bOk = MakeDialogButton("bOk", "OK", pButtons);
    bCancel = MakeDialogButton("bCancel", "Cancel", pButtons);
    auto* buttons = new QHBoxLayout(pButtons);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(px(ButtonGap));
    buttons->addWidget(bOk);
    buttons->addWidget(bCancel);
    const QSize button = px(DesignButtonSize);
    pButtons->setFixedSize(2 * button.width() + px(ButtonGap), button.height());

    // The buttons stay centred under the list whatever the width.
    auto* centred = new QHBoxLayout;
    centred->addStretch(1);
    centred->addWidget(pButtons);
    centred->addStretch(1);
    auto* container = new QVBoxLayout(pContainer);
    container->setContentsMargins(0, 0, 0, 0);
    container->setSpacing(0);
    container->addWidget(Bevel1);
    container->addStretch(1);
    container->addLayout(centred);
    container->addStretch(1);
    return pContainer;
}

TfFavorites::TfFavorites(MainWindowHost& host, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      host_(host) {
    setObjectName(QStringLiteral("fFavorites"));
    setWindowTitle(QStringLiteral("Favorites"));
    form_ = std::make_unique<Form>(this);
    Form& f = *form_;
    connect(f.tbGoto, &QToolButton::clicked, this, Guarded(this, &TfFavorites::tbGotoClick));
    connect(f.tbAdd, &QToolButton::clicked, this, Guarded(this, &TfFavorites::tbAddClick));
    connect(f.tbAddCurrent, &QToolButton::clicked, this,
            Guarded(this, &TfFavorites::tbAddCurrentClick));
    connect(f.tbRemove, &QToolButton::clicked, this, Guarded(this, &TfFavorites::tbRemoveClick));
    connect(f.lvFavorites, &QTreeWidget::itemDoubleClicked, this,
            Guarded(this, &TfFavorites::tbGotoClick));
    connect(f.bOk, &QPushButton::clicked, this, Guarded(this, &TfFavorites::bOkClick));
    connect(f.bCancel, &QPushButton::clicked, this, &QDialog::reject);
    KeyPreview& preview = AddDialogHelp(*this, "favorites", [this] { WMSysCommand(); });
    preview.OnKeyDown = [this](const QKeyEvent& key) { return FormKeyDown(key); };
    preview.OnKeyUp = [this](const QKeyEvent& key) { return FormKeyUp(key); };
    f.lvFavorites->setFocus();
    const DesignScale px = DesignScale::Of(*this);
    resize(px(ClientSize));
    PlaceByFrame(this, [this, px] {
        const QMargins frame = FrameMargins(this);
        setMinimumSize(px(MinimumOuterSize).shrunkBy(frame).expandedTo(minimumSizeHint()));
        CentreWindow(this);
    });
}

TfFavorites::~TfFavorites() = default;

QTreeWidgetItem* TfFavorites::AddItem(const std::string& path) {
    QTreeWidget* list = form_->lvFavorites;
    int row = 0;
    for (; row < list->topLevelItemCount(); ++row) {
        const std::string there = PathOf(list->topLevelItem(row));
        if (there == path) {
            return list->topLevelItem(row);
        }
        if (FavoriteBefore(path, there)) {
            break;
        }
    }
    auto* item = new QTreeWidgetItem({QString::fromUtf8(path.data(), qsizetype(path.size()))});
    item->setData(0, Qt::UserRole, QByteArray::fromStdString(path));
    list->insertTopLevelItem(row, item);
    return item;
}

std::vector<std::string> TfFavorites::Items() const {
    std::vector<std::string> paths;
    for (int row = 0; row < form_->lvFavorites->topLevelItemCount(); ++row) {
        paths.push_back(PathOf(form_->lvFavorites->topLevelItem(row)));
    }
    return paths;
}

void TfFavorites::WMSysCommand() {
    ShowHelpTopic("favorites");
}

// The keys act on their release, and only when the form saw them pressed: the release of a
// key that closed a message box is not taken for a new command. Enter in the list is the
// list's: it never reaches the dialog's default button.
bool TfFavorites::FormKeyDown(const QKeyEvent& key) {
    if (!key.isAutoRepeat()) {
        pressedKey_ = key.key();
    }
    return IsEnter(key) && form_->lvFavorites->hasFocus();
}

bool TfFavorites::FormKeyUp(const QKeyEvent& key) {
    if (key.isAutoRepeat() || key.key() != pressedKey_) {
        return false;
    }
    pressedKey_ = 0;
    switch (key.key()) {
    case Qt::Key_Insert:
        tbAddClick();
        return true;
    case Qt::Key_Delete:
        tbRemoveClick();
        return true;
    default:
        if (!IsEnter(key) || !form_->lvFavorites->hasFocus()) {
            return false;
        }
        tbGotoClick();
        return true;
    }
}

void TfFavorites::bOkClick() {
    done(Changed ? QDialog::Accepted : mrIgnore);
}

QTreeWidgetItem* TfFavorites::SelectedItem() const {
    const QList<QTreeWidgetItem*> selected = form_->lvFavorites->selectedItems();
    return selected.isEmpty() ? nullptr : selected.constFirst();
}

void TfFavorites::SelectAndShow(QTreeWidgetItem* item) {
    form_->lvFavorites->setCurrentItem(item);
    item->setSelected(true);
    form_->lvFavorites->scrollToItem(item);
}

void TfFavorites::tbGotoClick() {
    QTreeWidgetItem* item = SelectedItem();
    if (item == nullptr) {
        return;
    }
    const std::string path = PathOf(item);
    if (!DirectoryExists(path)) {
        if (Messages().Show(MessageKind::Confirmation, GoneAskRemove, MessageButtons::YesNo) ==
            MessageAnswer::Yes) {
            tbRemoveClick();
        }
        return;
    }
    if (GoToFavorite(path, host_)) {
        bOkClick();
    }
}

void TfFavorites::tbAddClick() {
    const std::optional<std::string> folder = Messages().AskFolder(NewFavorite);
    if (folder && !folder->empty()) {
        AddAndSelect(*folder);
    }
}

void TfFavorites::tbAddCurrentClick() {
    const std::string path = host_.TreeCurrentFolderPath();
    if (!DirectoryExists(path)) {
        ShowMessage(MessageKind::Information,
                    "'" + host_.TreeSelectedCaption() +
                        "' is not a folder. Only folders can be added to Favorites.");
        return;
    }
    AddAndSelect(path);
}

void TfFavorites::AddAndSelect(const std::string& path) {
    if (!FavoritesCanStore(path)) {
        return;
    }
    const int before = form_->lvFavorites->topLevelItemCount();
    SelectAndShow(AddItem(path));
    if (form_->lvFavorites->topLevelItemCount() != before) {
        Changed = true;
    }
}

void TfFavorites::tbRemoveClick() {
    QTreeWidgetItem* item = SelectedItem();
    if (item == nullptr) {
        return;
    }
    delete item;
    if (QTreeWidgetItem* focused = form_->lvFavorites->currentItem()) {
        SelectAndShow(focused);
    }
    Changed = true;
}

} // namespace quarn

#include "shell/views/CustomListView.h"

#include "shell/common/ScopedIncrement.h"
#include "shell/common/ShellGuard.h"
#include "shell/menus/ContextMenuKeys.h"
#include "shell/views/HeaderSortArrow.h"
#include "shell/winapi/PlatformVersion.h"
#include "shell/winapi/ShellMessages.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QTreeView>

namespace quarn {

namespace {

constexpr std::uint32_t HeaderSortModesVersion = 0x40046; // comctl32 4.70
constexpr std::uint32_t NativeSortArrowsVersion = 0x60000;
constexpr int NarrowColumn = 15;

std::uint32_t ComCtl32Version() {
    return static_cast<std::uint32_t>(GetPlatformVersion().comCtl32Version >> 32);
}

// Right edges as the header's rectangles count them: exclusive.
int RightOf(const QRect& rect) {
    return rect.left() + rect.width();
}
void SetRightOf(QRect& rect, int right) {
    rect.setWidth(right - rect.left());
}
void MoveRightTo(QRect& rect, int right) {
    rect.moveLeft(right - rect.width());
}

} // namespace

TSCCustomListView::TSCCustomListView(QWidget* parent) : QWidget(parent) {
}

TSCCustomListView::~TSCCustomListView() = default;

void TSCCustomListView::SetItemView(QAbstractItemView* view) {
    view_ = view;
    viewport_ = view ? view->viewport() : nullptr;
}

bool TSCCustomListView::HasWindow() const {
    return testAttribute(Qt::WA_WState_Created);
}

void TSCCustomListView::AttachItemView(QAbstractItemView* view) {
    new TSCCustomDrawHook(view, [this](NMCUSTOMDRAW& notification) {
        LRESULT result = CDRF_DODEFAULT;
        RunShellGuarded([&] { result = CustomDraw(notification); });
        return result;
    });
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    if (auto* report = qobject_cast<QTreeView*>(view)) {
        auto* header = new TSCSortHeaderView(
            report,
            [this](QPainter& painter, const QRect& rect, int column) {
                RunShellGuarded([&] { DrawHeaderItem(painter, rect, column); });
            },
            [this] {
                return TSCSortArrow{SortColumn(), SortDescending()};
            });
        report->setHeader(header);
        connect(header, &QHeaderView::sectionResized, this,
                [this] { RunShellGuarded([this] { ApplyHeaderSort(); }); });
        connect(header, &QHeaderView::sectionClicked, header,
                [header] { header->viewport()->update(); });
    }
    views_.emplace_back(view);
    if (view_ == nullptr) {
        SetItemView(view);
    }
    ApplyColor();
}

TSCSortHeaderView* TSCCustomListView::GetHeaderHandle() const {
    auto* report = qobject_cast<QTreeView*>(view_);
    if (!HasWindow() || viewStyle_ != TViewStyle::vsReport || report == nullptr) {
        return nullptr;
    }
    return qobject_cast<TSCSortHeaderView*>(report->header());
}

void TSCCustomListView::ChangeViewStyle(TViewStyle style) {
    if (style == viewStyle_) {
        return;
    }
    viewStyle_ = style;
    if (style == TViewStyle::vsReport) {
        ApplyHeaderSort();
    }
}

// Colours.

void TSCCustomListView::SetColor(const QColor& color) {
    color_ = color;
    ApplyColor();
}

void TSCCustomListView::ApplyColor() {
    for (const QPointer<QAbstractItemView>& view : views_) {
        if (view) {
            QPalette colours = view->viewport()->palette();
            colours.setColor(QPalette::Base,
                             color_.isValid() ? color_ : palette().color(QPalette::Base));
            view->viewport()->setPalette(colours);
        }
    }
}

void TSCCustomListView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !color_.isValid()) {
        ApplyColor();
    }
}

// The header's sort indicator.

void TSCCustomListView::ApplyHeaderSort() {
    TSCSortHeaderView* header = GetHeaderHandle();
    if (header == nullptr || applyingHeaderSort_ > 0) {
        return;
    }
    ScopedIncrement running(applyingHeaderSort_);
    const bool ownerDrawn =
        headerSortDisplayMode_ != sclvNone && !(ComCtl32Version() >= NativeSortArrowsVersion &&
                                                headerSortDisplayMode_ == sclvRightOfText);
    header->SetOwnerDrawn(ownerDrawn);
    header->setSortIndicatorShown(!ownerDrawn && SortColumn() >= 0);
    header->viewport()->update();
}

void TSCCustomListView::WriteHeaderSortDisplayMode(TSCLvHeaderSortDisplayMode mode) {
    if (mode == headerSortDisplayMode_) {
        return;
    }
    headerSortDisplayMode_ = ComCtl32Version() >= HeaderSortModesVersion ? mode : sclvNone;
    ApplyHeaderSort();
    if (TSCSortHeaderView* header = GetHeaderHandle()) {
        header->viewport()->update();
    }
}

void TSCCustomListView::DrawHeaderItem(QPainter& painter, const QRect& rect, int column) {
    TSCSortHeaderView* header = GetHeaderHandle();
    if (header == nullptr) {
        return;
    }
    QStyleOptionHeader section;
    section.initFrom(header);
    section.rect = rect;
    section.section = column;
    header->style()->drawControl(QStyle::CE_HeaderSection, &section, &painter, header);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::ButtonText));
    const QRect bounds = rect.adjusted(2, 2, -2, -2);
    QRect text = bounds.adjusted(4, 0, -4, 0);
    painter.setClipRect(bounds);
    const bool sorted = column == SortColumn();
    const auto alignment = header->model()
                               ->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole)
                               .value<Qt::Alignment>();
    QRect arrow = GetSortArrowRect(text);
    switch (headerSortDisplayMode_) {
    case sclvNone:
        DrawColumnCaption(painter, text, column, false);
        break;
    case sclvLeftAlign:
        if (sorted && header->sectionSize(column) > NarrowColumn) {
            DrawSortArrowIfFits(painter, column, arrow);
            text.setLeft(RightOf(arrow) + 5);
        }
        DrawColumnCaption(painter, text, column, false);
        break;
    case sclvRightOfText:
        if (alignment & Qt::AlignRight) {
            if (sorted) {
                MoveRightTo(arrow, RightOf(text) - 5);
                DrawSortArrowIfFits(painter, column, arrow);
                SetRightOf(text, arrow.left() - 4);
            }
            DrawColumnCaption(painter, text, column, false);
        } else {
            DrawColumnCaption(painter, text, column, true);
            text.translate(text.width() + 5, 0);
            DrawSortArrowIfFits(painter, column, GetSortArrowRect(text));
        }
        break;
    case sclvRightAlign:
        MoveRightTo(arrow, RightOf(text) - 5);
        DrawSortArrowIfFits(painter, column, arrow);
        if (sorted) {
            SetRightOf(text, arrow.left() - 4);
        }
        DrawColumnCaption(painter, text, column, false);
        break;
    }
}

// measure: afterwards rect is the caption's extent.
void TSCCustomListView::DrawColumnCaption(QPainter& painter, QRect& rect, int column,
                                          bool measure) {
    const QAbstractItemModel* model = GetHeaderHandle()->model();
    const QString caption = model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    const auto alignment =
        model->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>();
    const Qt::Alignment horizontal =
        alignment & Qt::AlignRight
            ? Qt::AlignRight
            : (alignment & Qt::AlignHCenter ? Qt::AlignHCenter : Qt::AlignLeft);
    const QString shown = painter.fontMetrics().elidedText(caption, Qt::ElideRight, rect.width());
    painter.drawText(rect, horizontal | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    if (measure) {
        rect.setWidth(std::min(painter.fontMetrics().horizontalAdvance(caption), rect.width()));
    }
}

void TSCCustomListView::DrawSortArrowIfFits(QPainter& painter, int column, const QRect& arrow) {
    TSCSortHeaderView* header = GetHeaderHandle();
    if (column != SortColumn() || header->sectionSize(column) <= 2 * arrow.width()) {
        return;
    }
    const QPalette& colours = palette();
    DrawHeaderSortArrow(painter, arrow, colours.color(QPalette::Button),
                        colours.color(QPalette::Dark), colours.color(QPalette::Light),
                        SortDescending() ? TSortArrowDirection::Up : TSortArrowDirection::Down);
}

// Custom draw.

LRESULT TSCCustomListView::CustomDraw(NMCUSTOMDRAW& notification) {
    lastCustomDraw_.reset();
    LRESULT result = CDRF_DODEFAULT;
    lastCustomDraw_ = DoCustomDraw(notification, result);
    return result;
}

std::unique_ptr<TSCLvCustomDraw> TSCCustomListView::CreateCustomDraw(NMCUSTOMDRAW& notification,
                                                                     LRESULT& result) {
    return std::make_unique<TSCLvCustomDraw>(&notification, &result, font());
}

std::unique_ptr<TSCLvCustomDraw> TSCCustomListView::DoCustomDraw(NMCUSTOMDRAW& notification,
                                                                 LRESULT& result) {
    const int item = DrawnItem(notification).row();
    return DispatchCustomDraw<TSCLvCustomDraw>(
        notification, result,
        {BindDrawHandler<TSCLvCustomDraw>(OnCustomDrawSCEx, this, item),
         BindDrawHandler<TSCLvCustomDraw>(OnCustomDrawSC, this, item)},
        [&] { return CreateCustomDraw(notification, result); });
}

// Context menus.

int TSCCustomListView::FocusedItem() const {
    const QModelIndex current = view_ ? view_->currentIndex() : QModelIndex();
    return current.isValid() ? current.row() : -1;
}

bool TSCCustomListView::IsItemSelected(int item) const {
    return view_ && item >= 0 && view_->selectionModel()->isRowSelected(item, QModelIndex());
}

void TSCCustomListView::PopupAt(QMenu* menu, QPoint pos) {
    menu->setProperty("PopupComponent", QVariant::fromValue<QObject*>(this));
    menu->popup(view_ ? view_->viewport()->mapToGlobal(pos) : mapToGlobal(pos));
}

void TSCCustomListView::DoItemContextMenu(int item, QPoint& pos, QMenu*& menu) {
    if (OnItemContextMenu) {
        OnItemContextMenu(this, item, pos, menu);
    }
}

void TSCCustomListView::ShowContextMenuAt(QPoint pos) {
    QMenu* menu = popupMenu_;
    DoItemContextMenu(FocusedItem(), pos, menu);
    ContextMenuShown = true;
    if (menu) {
        PopupAt(menu, pos);
    }
}

void TSCCustomListView::ShowSelectionContextMenu(QPoint pos) {
    const int focused = FocusedItem();
    int shown = -1;
    if (focused >= 0 && IsItemSelected(focused)) {
        shown = focused;
    } else if (focused >= 0 && view_->selectionModel()->hasSelection()) {
        shown = view_->selectionModel()->selectedRows().value(0).row();
    }
    if (shown < 0) {
        if (popupMenu_) {
            PopupAt(popupMenu_, pos);
        }
        return;
    }
    const QModelIndex index = view_->model()->index(shown, 0, view_->rootIndex());
    ShowContextMenuAt(view_->visualRect(index).center());
}

void TSCCustomListView::ContextMenuRequested(QContextMenuEvent& event) {
    event.accept();
    if (event.reason() == QContextMenuEvent::Mouse) {
        ShowSelectionContextMenu(event.pos());
        return;
    }
    if (ContextMenuShown || FocusedItem() < 0 || !view_->selectionModel()->hasSelection()) {
        return;
    }
    ShowSelectionContextMenu(QPoint(0, 0));
}

void TSCCustomListView::HandleKeyDown(int& key, Qt::KeyboardModifiers shift) {
    if (IsContextMenuKey(key, shift)) {
        key = 0;
        ShowSelectionContextMenu(QPoint(0, 0));
    }
    if (OnKeyDown) {
        OnKeyDown(this, key, shift);
    }
}

bool TSCCustomListView::eventFilter(QObject* watched, QEvent* event) {
    if (view_ == nullptr || (watched != view_ && watched != viewport_)) {
        return QWidget::eventFilter(watched, event);
    }
    bool consumed = false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        int key = keyEvent->key();
        RunShellGuarded([&] { HandleKeyDown(key, keyEvent->modifiers()); });
        consumed = key == 0;
        break;
    }
    case QEvent::ContextMenu:
        RunShellGuarded([&] { ContextMenuRequested(*static_cast<QContextMenuEvent*>(event)); });
        consumed = true;
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            ContextMenuShown = false;
        }
        break;
    default:
        break;
    }
    return consumed || QWidget::eventFilter(watched, event);
}

// The window.

void TSCCustomListView::WindowCreated() {
    ApplyColor();
    ApplyHeaderSort();
    QCoreApplication::postEvent(this, new QEvent(WM_SC_HEADERSORT));
}

bool TSCCustomListView::event(QEvent* event) {
    if (event->type() == WM_SC_HEADERSORT) {
        RunShellGuarded([this] { ApplyHeaderSort(); });
        return true;
    }
    if (event->type() == QEvent::Show && !windowCreated_) {
        windowCreated_ = true;
        RunShellGuarded([this] { WindowCreated(); });
    }
    return QWidget::event(event);
}

} // namespace quarn

#pragma once

#include "shell/views/CustomDraw.h"
#include "shell/views/ViewStyle.h"

#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QAbstractItemView;

namespace quarn {

class TSCSortHeaderView;

// Where the header shows the sort arrow: Qt's own indicator (none, right of the text with the
// current look) or an owner-drawn 3-D triangle.
enum TSCLvHeaderSortDisplayMode { sclvNone, sclvLeftAlign, sclvRightOfText, sclvRightAlign };

// An item's context menu is about to show (item -1: none is focused).
using TSCLvOnItemContextMenuEvent =
    std::function<void(QWidget* sender, int item, QPoint& pos, QMenu*& menu)>;
using TSCLvCustomDrawEvent = std::function<void(QWidget* sender, TSCLvCustomDraw& draw, int item)>;

// The base of the file list: the header's sort indicator, custom draw, item context menus from
// the mouse and the keyboard, and colour handling. Items are the rows of the item view that the
// descendant hands over for each view style (AttachItemView); the report style's view is a
// QTreeView whose header becomes a sort header.
class TSCCustomListView : public QWidget {
    Q_OBJECT

public:
    explicit TSCCustomListView(QWidget* parent = nullptr);
    ~TSCCustomListView() override;

    TViewStyle ViewStyle() const { return viewStyle_; }
    TSCLvHeaderSortDisplayMode HeaderSortDisplayMode() const { return headerSortDisplayMode_; }
    void WriteHeaderSortDisplayMode(TSCLvHeaderSortDisplayMode mode);
    // The column that shows the sort arrow (-1: none) and its direction, as the descendant's
    // sort state gives them; the header asks at every paint. After a change of them the
    // descendant calls ApplyHeaderSort.
    virtual int SortColumn() const { return -1; }
    virtual bool SortDescending() const { return false; }
    void ApplyHeaderSort();
    // The report view's header; none without a window or in another view style.
    TSCSortHeaderView* GetHeaderHandle() const;

    void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }
    // An invalid colour follows the palette.
    void SetColor(const QColor& color);

    TSCLvOnItemContextMenuEvent OnItemContextMenu;
    TSCLvCustomDrawEvent OnCustomDrawSC;
    TSCLvCustomDrawEvent OnCustomDrawSCEx;
    // key 0 means the key was consumed.
    std::function<void(QWidget* sender, int& key, Qt::KeyboardModifiers shift)> OnKeyDown;

    bool ContextMenuShown = false;

protected:
    // Takes a view of the items: custom draw, context menus and keys go through this base from
    // now on; a report view gets the sort header.
    void AttachItemView(QAbstractItemView* view);
    // The view of the current style; none before the descendant set one.
    QAbstractItemView* ItemView() const { return view_; }
    void SetItemView(QAbstractItemView* view);

    virtual void ChangeViewStyle(TViewStyle style);
    virtual std::unique_ptr<TSCLvCustomDraw> DoCustomDraw(NMCUSTOMDRAW& notification,
                                                          LRESULT& result);
    virtual std::unique_ptr<TSCLvCustomDraw> CreateCustomDraw(NMCUSTOMDRAW& notification,
                                                              LRESULT& result);
    virtual void ShowSelectionContextMenu(QPoint pos);
    virtual void ShowContextMenuAt(QPoint pos);
    virtual void DoItemContextMenu(int item, QPoint& pos, QMenu*& menu);
    // Consumes the key by setting it to 0; descendants call this first.
    virtual void HandleKeyDown(int& key, Qt::KeyboardModifiers shift);

    int FocusedItem() const;
    bool IsItemSelected(int item) const;
    void PopupAt(QMenu* menu, QPoint pos);

    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    LRESULT CustomDraw(NMCUSTOMDRAW& notification);
    void ContextMenuRequested(QContextMenuEvent& event);
    void DrawHeaderItem(QPainter& painter, const QRect& rect, int column);
    void DrawColumnCaption(QPainter& painter, QRect& rect, int column, bool measure);
    void DrawSortArrowIfFits(QPainter& painter, int column, const QRect& arrow);
    void WindowCreated();
    void ApplyColor();
    bool HasWindow() const;

    QAbstractItemView* view_ = nullptr;
    QWidget* viewport_ = nullptr; // compared with, never called: the view may be going
    std::vector<QPointer<QAbstractItemView>> views_;
    QPointer<QMenu> popupMenu_;
    QColor color_;
    TViewStyle viewStyle_ = TViewStyle::vsIcon;
    TSCLvHeaderSortDisplayMode headerSortDisplayMode_ = sclvRightOfText;
    int applyingHeaderSort_ = 0;
    bool windowCreated_ = false;
    std::unique_ptr<TSCLvCustomDraw> lastCustomDraw_;
};

} // namespace quarn

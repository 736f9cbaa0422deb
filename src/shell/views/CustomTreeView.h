#pragma once

#include "shell/views/CustomDraw.h"

#include <QMenu>
#include <QPointer>
#include <QTreeView>
#include <functional>
#include <memory>

namespace quarn {

// A node's context menu is about to show: the handler may move pos (client coordinates) or
// replace or clear menu.
using TSCTvOnNodeContextMenuEvent =
    std::function<void(QWidget* sender, const QModelIndex& node, QPoint& pos, QMenu*& menu)>;
using TSCTvCustomDrawEvent =
    std::function<void(QWidget* sender, TSCTvCustomDraw& draw, const QModelIndex& node)>;
// key 0 means the key was consumed.
using TKeyEvent = std::function<void(QWidget* sender, int& key, Qt::KeyboardModifiers shift)>;

// The base of the folder tree: custom draw, node context menus from the mouse and the
// keyboard (the Menu key and Shift+F10 open exactly one menu), and colour handling.
class TSCCustomTreeView : public QTreeView {
    Q_OBJECT

public:
    explicit TSCCustomTreeView(QWidget* parent = nullptr);
    ~TSCCustomTreeView() override;

    void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }
    // An invalid colour follows the palette.
    void SetColor(const QColor& color);
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

    TSCTvOnNodeContextMenuEvent OnNodeContextMenu;
    TSCTvCustomDrawEvent OnCustomDrawSC;
    TSCTvCustomDrawEvent OnCustomDrawSCEx;
    TKeyEvent OnKeyDown;

    bool ContextMenuShown = false;

protected:
    virtual std::unique_ptr<TSCTvCustomDraw> DoCustomDraw(NMCUSTOMDRAW& notification,
                                                          LRESULT& result);
    virtual std::unique_ptr<TSCTvCustomDraw> CreateCustomDraw(NMCUSTOMDRAW& notification,
                                                              LRESULT& result);
    virtual void ShowSelectionContextMenu();
    virtual void ShowContextMenuAt(const QModelIndex& node, QPoint pos);
    virtual void DoNodeContextMenu(const QModelIndex& node, QPoint& pos, QMenu*& menu);
    // Consumes the key by setting it to 0; descendants call this first.
    virtual void HandleKeyDown(int& key, Qt::KeyboardModifiers shift);
    virtual void AdjustWindowStyle();

    // The selected node; invalid when none is.
    QModelIndex SelectedNode() const;
    void PopupAt(QMenu* menu, QPoint pos);

    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    LRESULT CustomDraw(NMCUSTOMDRAW& notification);
    void RightClick(QPoint pos);
    void ApplyColor();

    QPointer<QMenu> popupMenu_;
    QColor color_;
    bool showsToolTips_ = true;
    std::unique_ptr<TSCTvCustomDraw> lastCustomDraw_;
};

} // namespace quarn

#pragma once

#include <QColor>
#include <QFont>
#include <QModelIndex>
#include <QRect>
#include <QStyledItemDelegate>
#include <cstdint>
#include <functional>
#include <memory>

class QAbstractItemView;
class QPainter;
class QWidget;

namespace quarn {

// Draw stages of a custom-draw notification.
inline constexpr std::uint32_t CDDS_PREPAINT = 0x1;
inline constexpr std::uint32_t CDDS_POSTPAINT = 0x2;
inline constexpr std::uint32_t CDDS_ITEM = 0x10000;
inline constexpr std::uint32_t CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT;
inline constexpr std::uint32_t CDDS_ITEMPOSTPAINT = CDDS_ITEM | CDDS_POSTPAINT;

// Answers to a custom-draw notification.
using LRESULT = std::intptr_t;
inline constexpr LRESULT CDRF_DODEFAULT = 0x0;
inline constexpr LRESULT CDRF_NEWFONT = 0x2;
inline constexpr LRESULT CDRF_SKIPDEFAULT = 0x4;
inline constexpr LRESULT CDRF_NOTIFYPOSTPAINT = 0x10;
inline constexpr LRESULT CDRF_NOTIFYITEMDRAW = 0x20;

// One custom-draw notification of a view: the whole control (pre and post paint) or one item.
// For item stages, font, clrText and clrTextBk are what the item is drawn with; a handler may
// change them.
struct NMCUSTOMDRAW {
    std::uint32_t dwDrawStage = CDDS_PREPAINT;
    QPainter* hdc = nullptr;
    QFont* font = nullptr; // the font selected for drawing
    QColor textColor;      // the painter's current text and background colours
    QColor backColor;
    QRect rc;
    QModelIndex dwItemSpec; // item stages only
    QColor clrText;
    QColor clrTextBk;
};

// The item an item stage draws; invalid for the control's stages.
inline QModelIndex DrawnItem(const NMCUSTOMDRAW& notification) {
    return notification.dwDrawStage & CDDS_ITEM ? notification.dwItemSpec : QModelIndex();
}

// Before an item's default drawing: the stage the item handlers hear, and the one whose answer
// changes how the item is drawn.
inline bool IsItemPrePaint(const NMCUSTOMDRAW& notification) {
    return notification.dwDrawStage == CDDS_ITEMPREPAINT;
}

// The stages as TSCCustomDraw::Stage numbers them.
enum TSCDrawStage : int {
    dsOther = 0,
    dsPrePaint = 1,
    dsPostPaint = 2,
    dsItemPrePaint = 4,
    dsItemPostPaint = 5,
};

// A font with a colour, whose changes are reported.
class TSCDrawFont {
public:
    TSCDrawFont(const QFont& font, const QColor& color) : font_(font), color_(color) {}
    const QFont& Font() const { return font_; }
    const QColor& Color() const { return color_; }
    void SetFont(const QFont& font);
    void SetColor(const QColor& color);
    std::function<void()> OnChange;

private:
    QFont font_;
    QColor color_;
};

// A solid brush whose changes are reported.
class TSCDrawBrush {
public:
    explicit TSCDrawBrush(const QColor& color) : color_(color) {}
    const QColor& Color() const { return color_; }
    void SetColor(const QColor& color);
    std::function<void()> OnChange;

private:
    QColor color_;
};

// Handed to custom-draw handlers for one notification: a handler changes Font or Brush, or
// sets SkipDefault; Apply turns that into the notification's answer.
class TSCCustomDraw {
public:
    TSCCustomDraw(NMCUSTOMDRAW* notification, LRESULT* result, const QFont& controlFont);
    virtual ~TSCCustomDraw();
    TSCCustomDraw(const TSCCustomDraw&) = delete;
    TSCCustomDraw& operator=(const TSCCustomDraw&) = delete;

    virtual void Init(NMCUSTOMDRAW* notification, LRESULT* result);
    virtual std::unique_ptr<TSCDrawFont> CreateFont();
    virtual std::unique_ptr<TSCDrawBrush> CreateBrush();
    virtual void Apply() = 0;

    TSCDrawStage Stage() const;
    TSCDrawFont& Font() { return *font_; }
    TSCDrawBrush& Brush() { return *brush_; }

    bool FontChanged = false;
    bool BrushChanged = false;
    bool NotifyItems = false;
    bool SkipDefault = false;

protected:
    // The answer both views give: item notifications on pre-paint, the changed font and
    // colours on item pre-paint.
    void ApplyToItem();

private:
    const QFont& controlFont_;
    std::unique_ptr<TSCDrawFont> font_;
    std::unique_ptr<TSCDrawBrush> brush_;
    NMCUSTOMDRAW* notification_ = nullptr;
    LRESULT* result_ = nullptr;
};

// The tree view's form: asks for item notifications.
class TSCTvCustomDraw : public TSCCustomDraw {
public:
    TSCTvCustomDraw(NMCUSTOMDRAW* notification, LRESULT* result, const QFont& controlFont);
    void Apply() override { ApplyToItem(); }
};

// The list view's form.
class TSCLvCustomDraw : public TSCCustomDraw {
public:
    using TSCCustomDraw::TSCCustomDraw;
    void Apply() override { ApplyToItem(); }
};

// A control's two custom-draw handlers, bound to their sender and item: everyStage hears each
// stage, itemPrePaint only IsItemPrePaint. Either may be empty.
template <typename Draw> struct TSCCustomDrawHandlers {
    std::function<void(Draw&)> everyStage;
    std::function<void(Draw&)> itemPrePaint;
};

// A control's handler bound to its sender and the drawn item's arguments; empty when it is.
template <typename Draw, typename Handler, typename... Item>
std::function<void(Draw&)> BindDrawHandler(const Handler& handler, QWidget* sender, Item... item) {
    if (!handler) {
        return {};
    }
    return [&handler, sender, item...](Draw& draw) { handler(sender, draw, item...); };
}

// Hands a notification to the handlers that hear its stage, with one draw that create makes
// for them, and answers through it (Apply). A stage no handler hears makes no draw and keeps
// the default answer; the control's pre-paint asks for the items' notifications while a
// handler is set.
template <typename Draw, typename Create>
std::unique_ptr<Draw> DispatchCustomDraw(NMCUSTOMDRAW& notification, LRESULT& result,
                                         const TSCCustomDrawHandlers<Draw>& handlers,
                                         Create create) {
    const bool itemHeard = handlers.itemPrePaint && IsItemPrePaint(notification);
    std::unique_ptr<Draw> draw;
    if (handlers.everyStage || itemHeard) {
        draw = create();
        if (handlers.everyStage) {
            handlers.everyStage(*draw);
        }
        if (itemHeard) {
            handlers.itemPrePaint(*draw);
        }
        draw->Apply();
    }
    if (notification.dwDrawStage == CDDS_PREPAINT &&
        (handlers.everyStage || handlers.itemPrePaint)) {
        result |= CDRF_NOTIFYITEMDRAW;
    }
    return draw;
}

// Custom draw for one item view: a notification for the control before and after each paint
// of the viewport, and, when the pre-paint answer asks for them (CDRF_NOTIFYITEMDRAW), for each
// item before its default drawing (which the answer may skip, or change font and colours for)
// and after it (CDRF_NOTIFYPOSTPAINT). Owned by the view.
class TSCCustomDrawHook : public QStyledItemDelegate {
public:
    using Notify = std::function<LRESULT(NMCUSTOMDRAW&)>;
    TSCCustomDrawHook(QAbstractItemView* view, Notify notify);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LRESULT NotifyControl(std::uint32_t stage);

    QAbstractItemView* view_;
    QWidget* viewport_;
    Notify notify_;
    bool itemsNotified_ = false;
    bool painting_ = false;
};

} // namespace quarn

#pragma once

#include <QColor>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <string>

namespace quarn {

enum TEllipsis : std::uint8_t { elNone = 0, elEnd = 1, elPath = 2 };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };

// A label that shortens a caption too long for its width with "..." instead of clipping
// it: at the end (elEnd) or, for a path, before its last "/" component (elPath).
class TKVBEllipsisLabel : public QWidget {
    Q_OBJECT

public:
    explicit TKVBEllipsisLabel(QWidget* parent = nullptr);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    TEllipsis Ellipsis() const { return ellipsis_; }
    // Any value but elNone also turns AutoSize off.
    void SetEllipsis(TEllipsis ellipsis);

    // On: the label takes the size of its caption (its width stays with WordWrap).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

    void SetAlignment(TAlignment alignment);
    void SetLayout(TTextLayout layout);
    void SetWordWrap(bool wordWrap);

    // On: "&x" underlines x and "&&" draws "&". Off: "&" is drawn as it stands.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool showAccelChar);

    // Off: the client area is filled with Color before the caption is drawn.
    void SetTransparent(bool transparent);

    // The palette's window colour, inherited from the parent until set.
    QColor Color() const;
    void SetColor(const QColor& color);

    // The lines as they are drawn in the client area, prefix characters removed and the
    // ellipsis applied; the rectangle they take (DT_CALCRECT).
    QStringList DisplayLines() const;
    QRect TextRect() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    unsigned DrawFlags() const;
    QString TextToDraw(unsigned flags) const;
    unsigned PrefixFlag(unsigned flags) const;
    // Draws the caption in rect, or with DT_CALCRECT only measures it into rect.
    void DoDrawText(QPainter* painter, QRect& rect, unsigned flags) const;
    void AdjustBounds();
    void Changed();

    std::string caption_;
    TEllipsis ellipsis_ = elNone;
    bool autoSize_ = true;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    TTextLayout layout_ = TTextLayout::tlTop;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    bool transparent_ = false;
};

} // namespace quarn

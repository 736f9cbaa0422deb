#include "app/common/KVBEllipsisLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <vector>

namespace quarn {

namespace {

// Text-drawing flags.
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_EXPANDTABS = 0x40;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;
constexpr unsigned DT_PATH_ELLIPSIS = 0x4000;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;

constexpr int TabColumns = 8;
const QString Dots = QStringLiteral("...");

// One line of text to draw, with the characters that a prefix "&" underlines.
struct TextLine {
    QString text;
    std::vector<bool> underlined;

    static TextLine Plain(const QString& text) {
        return {text, std::vector<bool>(static_cast<std::size_t>(text.size()), false)};
    }
    TextLine Mid(qsizetype from, qsizetype count = -1) const {
        const qsizetype end = count < 0 ? text.size() : from + count;
        return {text.mid(from, end - from),
                std::vector<bool>(underlined.begin() + from, underlined.begin() + end)};
    }
    TextLine operator+(const TextLine& other) const {
        TextLine joined = *this;
        joined.text += other.text;
        joined.underlined.insert(joined.underlined.end(), other.underlined.begin(),
                                 other.underlined.end());
        return joined;
    }
    void Append(QChar c, bool underline) {
        text += c;
        underlined.push_back(underline);
    }
};

// "&x" underlines x, "&&" is one "&", a final lone "&" is dropped.
TextLine RemovePrefixes(const QString& text) {
    TextLine line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            line.Append(text[i], false);
        } else if (i + 1 < text.size()) {
            ++i;
            const bool underline = text[i] != '&';
            line.Append(text[i], underline);
            if (text[i].isHighSurrogate() && i + 1 < text.size()) {
                line.Append(text[++i], underline);
            }
        }
    }
    return line;
}

// Tab stops every TabColumns characters.
TextLine ExpandTabs(const TextLine& line) {
    TextLine expanded;
    for (qsizetype i = 0; i < line.text.size(); ++i) {
        if (line.text[i] != '\t') {
            expanded.Append(line.text[i], line.underlined[static_cast<std::size_t>(i)]);
            continue;
        }
        do {
            expanded.Append(' ', false);
        } while (expanded.text.size() % TabColumns != 0);
    }
    return expanded;
}

QStringList SplitLines(const QString& text) {
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
    return unified.split('\n');
}

// Positions where text may be cut without splitting a character, in increasing order.
std::vector<qsizetype> CutPositions(const QString& text, qsizetype end) {
    std::vector<qsizetype> positions{0};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype p = finder.toNextBoundary(); p > 0 && p <= end; p = finder.toNextBoundary()) {
        positions.push_back(p);
    }
    return positions;
}

// The longest cut position p (of those given) for which build(p) fits, or -1.
template <typename Build>
qsizetype LongestFitting(const std::vector<qsizetype>& positions, const QFontMetrics& metrics,
                         int width, Build build) {
    qsizetype found = -1;
    std::size_t low = 0;
    std::size_t high = positions.size();
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (metrics.horizontalAdvance(build(positions[middle]).text) <= width) {
            found = positions[middle];
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return found;
}

bool Fits(const TextLine& line, const QFontMetrics& metrics, int width) {
    return metrics.horizontalAdvance(line.text) <= width;
}

// The longest start of the line followed by "..." that fits; as many dots as fit when
// not even "..." does.
TextLine EndEllipsis(const TextLine& line, const QFontMetrics& metrics, int width) {
    if (Fits(line, metrics, width)) {
        return line;
    }
    const auto build = [&](qsizetype cut) { return line.Mid(0, cut) + TextLine::Plain(Dots); };
    const qsizetype cut =
        LongestFitting(CutPositions(line.text, line.text.size()), metrics, width, build);
    if (cut >= 0) {
        return build(cut);
    }
    TextLine dots = TextLine::Plain(Dots);
    while (!dots.text.isEmpty() && !Fits(dots, metrics, width)) {
        dots = dots.Mid(0, dots.text.size() - 1);
    }
    return dots;
}

// Keeps the last "/" component whole and puts "..." in place of as much of the text before
// it as needed; when even ".../last" does not fit, that is shortened at its end.
TextLine PathEllipsis(const TextLine& line, const QFontMetrics& metrics, int width) {
    const qsizetype separator = line.text.lastIndexOf('/');
    if (Fits(line, metrics, width) || separator < 0) {
        return EndEllipsis(line, metrics, width);
    }
    const TextLine last = TextLine::Plain(Dots) + line.Mid(separator);
    const auto build = [&](qsizetype cut) { return line.Mid(0, cut) + last; };
    const qsizetype cut = LongestFitting(CutPositions(line.text, separator), metrics, width, build);
    return cut >= 0 ? build(cut) : EndEllipsis(last, metrics, width);
}

// The end of the word after from (blanks before it included).
qsizetype NextWordEnd(const QString& text, qsizetype from) {
    while (from < text.size() && text[from] == ' ') {
        ++from;
    }
    while (from < text.size() && text[from] != ' ') {
        ++from;
    }
    return from;
}

// Greedy breaks at blanks; a word longer than the width stays whole on its own line.
std::vector<TextLine> WrapWords(const TextLine& line, const QFontMetrics& metrics, int width) {
    std::vector<TextLine> lines;
    qsizetype start = 0;
    do {
        qsizetype end = NextWordEnd(line.text, start);
        for (qsizetype next = NextWordEnd(line.text, end);
             next != end && Fits(line.Mid(start, next - start), metrics, width);
             next = NextWordEnd(line.text, end)) {
            end = next;
        }
        lines.push_back(line.Mid(start, end - start));
        start = end;
        while (start < line.text.size() && line.text[start] == ' ') {
            ++start;
        }
    } while (start < line.text.size());
    return lines;
}

// The caption's lines as drawn into a rectangle of the given width with the given flags.
std::vector<TextLine> LayOut(const QString& text, unsigned flags, const QFontMetrics& metrics,
                             int width) {
    std::vector<TextLine> lines;
    for (const QString& source : SplitLines(text)) {
        TextLine line =
            (flags & DT_NOPREFIX) != 0 ? TextLine::Plain(source) : RemovePrefixes(source);
        if ((flags & DT_EXPANDTABS) != 0) {
            line = ExpandTabs(line);
        }
        std::vector<TextLine> wrapped{line};
        if ((flags & DT_WORDBREAK) != 0) {
            wrapped = WrapWords(line, metrics, width);
        }
        for (TextLine& part : wrapped) {
            if ((flags & DT_END_ELLIPSIS) != 0) {
                part = EndEllipsis(part, metrics, width);
            } else if ((flags & DT_PATH_ELLIPSIS) != 0) {
                part = PathEllipsis(part, metrics, width);
            }
            lines.push_back(std::move(part));
        }
    }
    return lines;
}

int LineLeft(const QRect& rect, int advance, unsigned flags) {
    if ((flags & DT_RIGHT) != 0) {
        return rect.left() + rect.width() - advance;
    }
    if ((flags & DT_CENTER) != 0) {
        return rect.left() + (rect.width() - advance) / 2;
    }
    return rect.left();
}

void DrawLines(QPainter& painter, const std::vector<TextLine>& lines, const QRect& rect,
               unsigned flags, const QColor& color) {
    const QFontMetrics metrics = painter.fontMetrics();
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setPen(color);
    int top = rect.top();
    for (const TextLine& line : lines) {
        const int left = LineLeft(rect, metrics.horizontalAdvance(line.text), flags);
        const int baseline = top + metrics.ascent();
        painter.drawText(QPoint(left, baseline), line.text);
        for (qsizetype i = 0; i < line.text.size(); ++i) {
            if (line.underlined[static_cast<std::size_t>(i)]) {
                const int x = left + metrics.horizontalAdvance(line.text.left(i));
                const int w = metrics.horizontalAdvance(line.text.mid(i, 1));
                painter.fillRect(x, baseline + metrics.underlinePos(), w,
                                 std::max(metrics.lineWidth(), 1), color);
            }
        }
        top += metrics.height();
    }
    painter.restore();
}

unsigned AlignmentFlag(TAlignment alignment) {
    switch (alignment) {
    case TAlignment::taLeftJustify:
        return DT_LEFT;
    case TAlignment::taRightJustify:
        return DT_RIGHT;
    case TAlignment::taCenter:
        return DT_CENTER;
    }
    return DT_LEFT;
}

unsigned EllipsisFlag(TEllipsis ellipsis) {
    switch (ellipsis) {
    case elNone:
        return 0;
    case elEnd:
        return DT_END_ELLIPSIS;
    case elPath:
        return DT_PATH_ELLIPSIS;
    }
    return 0;
}

// What a screen reader learns of the label: static text whose name is the whole caption
// (prefix characters removed when they are prefixes), not the shortened line on screen. A
// name set with setAccessibleName comes first.
class EllipsisLabelAccessible : public QAccessibleWidget {
public:
    explicit EllipsisLabelAccessible(TKVBEllipsisLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override {
        if (kind != QAccessible::Name || !widget()->accessibleName().isEmpty()) {
            return QAccessibleWidget::text(kind);
        }
        const auto* label = static_cast<const TKVBEllipsisLabel*>(widget());
        const QString caption = QString::fromStdString(label->Caption());
        return label->ShowAccelChar() ? RemovePrefixes(caption).text : caption;
    }
};

QAccessibleInterface* MakeAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(TKVBEllipsisLabel::staticMetaObject.className())) {
        return new EllipsisLabelAccessible(static_cast<TKVBEllipsisLabel*>(object));
    }
    return nullptr;
}

} // namespace

TKVBEllipsisLabel::TKVBEllipsisLabel(QWidget* parent) : QWidget(parent) {
    // Once per process, before the first label is asked for its interface.
    static const bool accessibleInstalled = (QAccessible::installFactory(MakeAccessible), true);
    Q_UNUSED(accessibleInstalled);
    AdjustBounds();
}

void TKVBEllipsisLabel::SetCaption(const std::string& caption) {
    if (caption != caption_) {
        caption_ = caption;
        Changed();
        QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&nameChanged);
    }
}

void TKVBEllipsisLabel::SetEllipsis(TEllipsis ellipsis) {
    if (ellipsis != ellipsis_) {
        ellipsis_ = ellipsis;
        if (ellipsis_ != elNone) {
            SetAutoSize(false);
        }
        update();
    }
}

void TKVBEllipsisLabel::SetAutoSize(bool autoSize) {
    if (autoSize != autoSize_) {
        autoSize_ = autoSize;
        Changed();
    }
}

void TKVBEllipsisLabel::SetAlignment(TAlignment alignment) {
    if (alignment != alignment_) {
        alignment_ = alignment;
        update();
    }
}

void TKVBEllipsisLabel::SetLayout(TTextLayout layout) {
    if (layout != layout_) {
        layout_ = layout;
        update();
    }
}

void TKVBEllipsisLabel::SetWordWrap(bool wordWrap) {
    if (wordWrap != wordWrap_) {
        wordWrap_ = wordWrap;
        Changed();
    }
}

void TKVBEllipsisLabel::SetShowAccelChar(bool showAccelChar) {
    if (showAccelChar != showAccelChar_) {
        showAccelChar_ = showAccelChar;
        Changed();
    }
}

void TKVBEllipsisLabel::SetTransparent(bool transparent) {
    if (transparent != transparent_) {
        transparent_ = transparent;
        update();
    }
}

QColor TKVBEllipsisLabel::Color() const {
    return palette().color(QPalette::Window);
}

void TKVBEllipsisLabel::SetColor(const QColor& color) {
    QPalette colors = palette();
    colors.setColor(QPalette::Window, color);
    setPalette(colors);
    update();
}

QStringList TKVBEllipsisLabel::DisplayLines() const {
    const unsigned flags = DrawFlags();
    QStringList texts;
    for (const TextLine& line :
         LayOut(TextToDraw(flags), PrefixFlag(flags), fontMetrics(), width())) {
        texts << line.text;
    }
    return texts;
}

QRect TKVBEllipsisLabel::TextRect() const {
    QRect rect = this->rect();
    DoDrawText(nullptr, rect, DrawFlags() | DT_CALCRECT);
    return rect;
}

QSize TKVBEllipsisLabel::sizeHint() const {
    QRect rect = this->rect();
    DoDrawText(nullptr, rect, (DrawFlags() & ~(DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)) | DT_CALCRECT);
    return {wordWrap_ ? width() : rect.width(), rect.height()};
}

void TKVBEllipsisLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!transparent_) {
        painter.fillRect(rect(), Color());
    }
    QRect rect = this->rect();
    const unsigned flags = DrawFlags();
    if (layout_ != TTextLayout::tlTop) {
        QRect calcRect = rect;
        DoDrawText(nullptr, calcRect, flags | DT_CALCRECT);
        const int space = height() - (calcRect.top() + calcRect.height());
        rect.translate(0, layout_ == TTextLayout::tlBottom ? space : space / 2);
    }
    DoDrawText(&painter, rect, flags);
}

void TKVBEllipsisLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        AdjustBounds();
    }
    QWidget::changeEvent(event);
}

unsigned TKVBEllipsisLabel::DrawFlags() const {
    return DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | AlignmentFlag(alignment_) |
           EllipsisFlag(ellipsis_);
}

QString TKVBEllipsisLabel::TextToDraw(unsigned flags) const {
    QString text = QString::fromStdString(caption_);
    // An empty caption still measures one line; a lone prefix prefixes a blank.
    if (((flags & DT_CALCRECT) != 0 && text.isEmpty()) ||
        (showAccelChar_ && text == QStringLiteral("&"))) {
        text += ' ';
    }
    return text;
}

unsigned TKVBEllipsisLabel::PrefixFlag(unsigned flags) const {
    return showAccelChar_ ? flags : flags | DT_NOPREFIX;
}

void TKVBEllipsisLabel::DoDrawText(QPainter* painter, QRect& rect, unsigned flags) const {
    const QFontMetrics metrics = fontMetrics();
    const std::vector<TextLine> lines =
        LayOut(TextToDraw(flags), PrefixFlag(flags), metrics, rect.width());
    if ((flags & DT_CALCRECT) != 0) {
        int widest = 0;
        for (const TextLine& line : lines) {
            widest = std::max(widest, metrics.horizontalAdvance(line.text));
        }
        rect.setSize({widest, static_cast<int>(lines.size()) * metrics.height()});
        return;
    }
    if (isEnabled()) {
        DrawLines(*painter, lines, rect, flags, palette().color(QPalette::WindowText));
        return;
    }
    DrawLines(*painter, lines, rect.translated(1, 1), flags,
              palette().color(QPalette::Active, QPalette::Light));
    DrawLines(*painter, lines, rect, flags, palette().color(QPalette::Active, QPalette::Dark));
}

void TKVBEllipsisLabel::AdjustBounds() {
    if (autoSize_) {
        resize(sizeHint());
    }
}

void TKVBEllipsisLabel::Changed() {
    AdjustBounds();
    updateGeometry();
    update();
}

} // namespace quarn

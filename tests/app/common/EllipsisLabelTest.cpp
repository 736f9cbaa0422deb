#include "CaseNames.h"
#include "app/common/KVBEllipsisLabel.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <string>

namespace quarn {
namespace {

constexpr int ProgressLabelWidth = 222;
constexpr int ProgressLabelHeight = 13;

// Set up like the file-name labels of the progress displays.
void MakeProgressLabel(TKVBEllipsisLabel& label, TEllipsis ellipsis) {
    label.SetEllipsis(ellipsis);
    label.SetShowAccelChar(false);
    label.resize(ProgressLabelWidth, ProgressLabelHeight);
}

int Advance(const TKVBEllipsisLabel& label, const QString& text) {
    return label.fontMetrics().horizontalAdvance(text);
}

QImage Render(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    widget.render(&image);
    return image;
}

// The rectangle of pixels that are not the background colour.
QRect InkBounds(const QImage& image, QColor background) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != background.rgb()) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

bool HasPixelOf(const QImage& image, QColor color) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == color.rgb()) {
                return true;
            }
        }
    }
    return false;
}

const std::string LongPath =
    "/home/margaret/Documents/Projects/Quarterly reports/2023/Archive/Drafts/"
    "budget-summary-final.ods";

struct ElisionCase {
    const char* name;
    std::string caption;
    TEllipsis ellipsis;
    QString starts; // what the drawn line starts with
    QString ends;   // and ends with
    bool elided;
};

void PrintTo(const ElisionCase& c, std::ostream* out) {
    *out << '"' << c.caption << "\" with " << (c.ellipsis == elPath ? "elPath" : "elEnd");
}

class Elision : public testing::TestWithParam<ElisionCase> {};

TEST_P(Elision, ShortensTheCaptionToFitTheProgressLabel) {
    const ElisionCase& c = GetParam();
    TKVBEllipsisLabel label;
    MakeProgressLabel(label, c.ellipsis);
    label.SetCaption(c.caption);
    const QStringList lines = label.DisplayLines();
    ASSERT_EQ(lines.size(), 1);
    const QString& shown = lines[0];
    EXPECT_LE(Advance(label, shown), ProgressLabelWidth) << shown.toStdString();
    EXPECT_TRUE(shown.startsWith(c.starts)) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(c.ends)) << shown.toStdString();
    EXPECT_EQ(shown.contains("..."), c.elided) << shown.toStdString();
    if (!c.elided) {
        EXPECT_EQ(shown, QString::fromStdString(c.caption));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Label, Elision,
    testing::Values(
        ElisionCase{"EndKeepsTheStart", LongPath, elEnd, "/home/margaret/", "...", true},
        ElisionCase{"PathKeepsTheLastComponent", LongPath, elPath, "/home/",
                    "/budget-summary-final.ods", true},
        ElisionCase{"ShortCaptionStaysWhole", "/tmp/a.txt", elPath, "/tmp/a.txt", "a.txt", false},
        ElisionCase{"PathWithoutSeparatorElidesAtTheEnd", std::string(80, 'n') + ".txt", elPath,
                    "nnnn", "...", true},
        ElisionCase{"LastComponentTooLongElidesAtItsEnd", "/data/" + std::string(90, 'x') + ".bin",
                    elPath, ".../xxx", "x...", true},
        ElisionCase{"MultiByteNamesAreCutBetweenCharacters",
                    "/home/j\xC3\xBCrgen/" + std::string(40, 'y') + "/\xC3\xA9t\xC3\xA9.txt",
                    elPath, "/home/j\xC3\xBC", "/\xC3\xA9t\xC3\xA9.txt", true}),
    quarn::test::CaseName());

// A screen reader gets the whole caption, not the shortened line.
TEST(EllipsisLabel, ScreenReadersReadTheWholeCaption) {
    TKVBEllipsisLabel label;
    MakeProgressLabel(label, elEnd);
    label.SetCaption(LongPath);
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(&label);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->role(), QAccessible::StaticText);
    EXPECT_EQ(reader->text(QAccessible::Name), QString::fromStdString(LongPath));
    ASSERT_NE(label.DisplayLines().front(), QString::fromStdString(LongPath)) << "not elided";

    label.SetCaption("report.txt");
    EXPECT_EQ(reader->text(QAccessible::Name), "report.txt");

    // With prefixes shown, "&&" reads as "&".
    label.SetShowAccelChar(true);
    label.SetCaption("Salt && Pepper");
    EXPECT_EQ(reader->text(QAccessible::Name), "Salt & Pepper");
}

TEST(EllipsisLabel, WithoutEllipsisTheCaptionIsClippedNotShortened) {
    TKVBEllipsisLabel label;
    label.SetAutoSize(false);
    label.resize(ProgressLabelWidth, ProgressLabelHeight);
    label.SetCaption(LongPath);
    EXPECT_EQ(label.DisplayLines(), QStringList{QString::fromStdString(LongPath)});
}

TEST(EllipsisLabel, AnEllipsisTurnsAutoSizeOff) {
    TKVBEllipsisLabel label;
    EXPECT_EQ(label.Ellipsis(), elNone);
    EXPECT_TRUE(label.AutoSize());
    label.SetCaption("Encrypting");
    EXPECT_EQ(label.width(), Advance(label, "Encrypting"));

    label.SetEllipsis(elNone);
    EXPECT_TRUE(label.AutoSize());
    label.SetEllipsis(elEnd);
    EXPECT_FALSE(label.AutoSize());
    label.resize(40, ProgressLabelHeight);
    label.SetCaption("A much longer caption than before");
    EXPECT_EQ(label.width(), 40);
}

TEST(EllipsisLabel, PrefixCharactersFollowShowAccelChar) {
    TKVBEllipsisLabel label;
    label.SetCaption("Save && E&xit & go");
    EXPECT_EQ(label.DisplayLines(), QStringList{"Save & Exit  go"});
    label.SetShowAccelChar(false);
    EXPECT_EQ(label.DisplayLines(), QStringList{"Save && E&xit & go"});
}

TEST(EllipsisLabel, APrefixUnderlinesItsCharacter) {
    const auto draw = [](const std::string& caption, bool showAccelChar) {
        TKVBEllipsisLabel label;
        label.SetShowAccelChar(showAccelChar);
        label.SetCaption(caption);
        return Render(label);
    };
    EXPECT_NE(draw("&File", true), draw("File", true));
    EXPECT_EQ(draw("&&File", true), draw("&File", false));
}

TEST(EllipsisLabel, TabsAreExpandedToEveryEighthColumn) {
    TKVBEllipsisLabel label;
    label.SetCaption("a\tbc\tz\r\n12345678\tq");
    EXPECT_EQ(label.DisplayLines(), (QStringList{"a       bc      z", "12345678        q"}));
}

TEST(EllipsisLabel, WordWrapBreaksAtBlanksAndKeepsTheWidth) {
    TKVBEllipsisLabel label;
    label.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    label.SetWordWrap(true);
    label.SetAutoSize(false);
    const int width = Advance(label, "gamma delta");
    label.resize(width, 100);
    label.SetCaption("alpha beta gamma delta epsilonepsilonepsilon");
    const QStringList lines = label.DisplayLines();
    EXPECT_EQ(lines, (QStringList{"alpha beta", "gamma delta", "epsilonepsilonepsilon"}));
    EXPECT_EQ(label.TextRect().height(), 3 * label.fontMetrics().height());
}

struct LayoutCase {
    const char* name;
    TTextLayout layout;
    TAlignment alignment;
};

void PrintTo(const LayoutCase& c, std::ostream* out) {
    *out << c.name;
}

class Placement : public testing::TestWithParam<LayoutCase> {};

TEST_P(Placement, PlacesTheCaptionByLayoutAndAlignment) {
    const LayoutCase& c = GetParam();
    TKVBEllipsisLabel label;
    label.SetAutoSize(false);
    label.resize(200, 60);
    label.SetColor(Qt::white);
    label.SetLayout(c.layout);
    label.SetAlignment(c.alignment);
    label.SetCaption("MMMM");
    const QRect ink = InkBounds(Render(label), Qt::white);
    ASSERT_TRUE(ink.isValid());
    const QFontMetrics metrics = label.fontMetrics();
    const int lineHeight = metrics.height();
    const int textWidth = metrics.horizontalAdvance("MMMM");
    const int lineTop = c.layout == TTextLayout::tlTop      ? 0
                        : c.layout == TTextLayout::tlBottom ? 60 - lineHeight
                                                            : (60 - lineHeight) / 2;
    EXPECT_GE(ink.top(), lineTop);
    EXPECT_LE(ink.bottom(), lineTop + lineHeight);
    const int lineLeft = c.alignment == TAlignment::taLeftJustify    ? 0
                         : c.alignment == TAlignment::taRightJustify ? 200 - textWidth
                                                                     : (200 - textWidth) / 2;
    EXPECT_GE(ink.left(), lineLeft);
    EXPECT_LE(ink.right(), lineLeft + textWidth);
}

INSTANTIATE_TEST_SUITE_P(
    Label, Placement,
    testing::Values(LayoutCase{"TopLeft", TTextLayout::tlTop, TAlignment::taLeftJustify},
                    LayoutCase{"CentreCentre", TTextLayout::tlCenter, TAlignment::taCenter},
                    LayoutCase{"BottomRight", TTextLayout::tlBottom, TAlignment::taRightJustify}),
    quarn::test::CaseName());

TEST(EllipsisLabel, AnEmptyCaptionStillMeasuresOneLine) {
    TKVBEllipsisLabel label;
    label.SetAutoSize(false);
    label.SetLayout(TTextLayout::tlCenter);
    label.resize(100, 41);
    EXPECT_EQ(label.TextRect().height(), label.fontMetrics().height());
    EXPECT_EQ(label.height(), 41);
}

TEST(EllipsisLabel, DisabledTextIsEngraved) {
    TKVBEllipsisLabel label;
    QFont font = label.font();
    font.setPixelSize(40);
    font.setStyleStrategy(QFont::NoAntialias);
    label.setFont(font);
    label.SetCaption("Wiping");
    label.setEnabled(false);
    const QImage image = Render(label);
    const QPalette& colors = label.palette();
    EXPECT_TRUE(HasPixelOf(image, colors.color(QPalette::Active, QPalette::Light)));
    EXPECT_TRUE(HasPixelOf(image, colors.color(QPalette::Active, QPalette::Dark)));
    label.setEnabled(true);
    EXPECT_FALSE(HasPixelOf(Render(label), colors.color(QPalette::Active, QPalette::Dark)));
}

TEST(EllipsisLabel, TransparentLeavesTheParentsBackground) {
    QWidget parent;
    parent.resize(100, 30);
    parent.setAutoFillBackground(true);
    QPalette red = parent.palette();
    red.setColor(QPalette::Window, Qt::red);
    parent.setPalette(red);
    TKVBEllipsisLabel label(&parent);
    label.SetColor(Qt::blue);
    EXPECT_EQ(label.Color(), QColor(Qt::blue));
    EXPECT_EQ(Render(parent).pixelColor(label.width() - 1, 0), QColor(Qt::blue));
    label.SetTransparent(true);
    EXPECT_EQ(Render(parent).pixelColor(label.width() - 1, 0), QColor(Qt::red));
}

} // namespace
} // namespace quarn

#pragma once

#include <QFont>
#include <QString>
#include <gtest/gtest.h>
#include <string>
#include <vector>

class QTreeView;
class QWidget;

namespace quarn::test {

// The application's font, scaled for the life of the object: windows made meanwhile take it.
class ScopedFontScale {
public:
    explicit ScopedFontScale(double factor);
    ~ScopedFontScale();
    ScopedFontScale(const ScopedFontScale&) = delete;
    ScopedFontScale& operator=(const ScopedFontScale&) = delete;

private:
    QFont previous_;
};

// The name of a test of the font scaled by info.param: "DefaultFont" for 1, the checks'
// other font "OneAndAHalfTimes" for 1.5.
std::string FontScaleName(const testing::TestParamInfo<double>& info);

// Where a control cuts its text: the text's width in the control's font (QFontMetrics), with
// the room its frame, margins and indicator take, against the control's width, and a line
// against its height; a wrapped label needs the height its text takes at its width. Labels,
// buttons, check boxes, radio buttons, group box titles and line edits. Empty when the whole
// text shows, else what is cut and by how much.
std::string CutText(const QWidget& control);
// CutText of every control of the window that shows a text now (hidden ones, and labels
// without text, are left out); empty when they all fit.
std::vector<std::string> CutTexts(const QWidget& window);
// The same for a text the control is to show: it is shown, checked and taken back.
std::string CutText(QWidget& control, const QString& text);
// The same for a text in a column of a report view, as its delegate lays out the column's
// first cell around its own text (its icon, the margins).
std::string CutCell(const QTreeView& view, int column, const QString& text);
// The same for a column's caption in the view's header, its sort arrow included.
std::string CutCaption(const QTreeView& view, int column);

} // namespace quarn::test

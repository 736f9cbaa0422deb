// A small window of ellipsis labels set up as the progress displays use them, for a look
// at how they draw: quarn_ellipsis_label_demo, then a screenshot.
#include "app/common/KVBEllipsisLabel.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

namespace {

using quarn::TKVBEllipsisLabel;

constexpr int LabelWidth = 222;
constexpr int LabelHeight = 13;

const std::string LongPath = "/home/margaret/Documents/Projects/Quarterly reports/2023/Archive/"
                             "Drafts/budget-summary-final.ods";

void AddRow(QWidget& window, int top, const char* title, const std::string& caption,
            quarn::TEllipsis ellipsis, bool enabled = true) {
    auto* name = new QLabel(QString::fromUtf8(title), &window);
    name->setGeometry(8, top, 80, LabelHeight + 2);
    auto* label = new TKVBEllipsisLabel(&window);
    label->SetEllipsis(ellipsis);
    label->SetShowAccelChar(false);
    label->SetAutoSize(false);
    label->setGeometry(90, top, LabelWidth, LabelHeight);
    label->SetCaption(caption);
    label->setEnabled(enabled);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    QFont face = window.font(); // the 8-point face both programs lay their pages out for
    face.setPixelSize(11);
    window.setFont(face);
    window.setWindowTitle(QStringLiteral("Ellipsis labels"));
    window.resize(320, 150);
    AddRow(window, 10, "elEnd", LongPath, quarn::elEnd);
    AddRow(window, 30, "elPath", LongPath, quarn::elPath);
    AddRow(window, 50, "short", "/tmp/a.txt", quarn::elPath);
    AddRow(window, 70, "no dir", std::string(60, 'n') + ".zot!", quarn::elPath);
    AddRow(window, 90, "& and tab", "Save & Exit\tR&D/notes.txt", quarn::elEnd);
    AddRow(window, 110, "disabled", LongPath, quarn::elEnd, false);
    window.show();
    return QApplication::exec();
}

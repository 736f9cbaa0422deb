#include "clu/MainForm.h"

#include "app/common/KVBEllipsisLabel.h"
#include "app/common/PasswordRule.h"
#include "platform/gui/Named.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <algorithm>
#include <initializer_list>

namespace quarn::clu {

namespace {

// The pages' measures in pixels, for the 11-pixel face they were designed for. A larger
// face makes the window larger instead of letting the controls overlap.
constexpr QMargins PageMargins{7, 7, 6, 0};
constexpr QMargins PasswordBoxMargins{9, 11, 9, 8};
constexpr QMargins ProgressBoxMargins{10, 11, 9, 10};
constexpr int CaptionGap = 8;
constexpr int EditColumn = 65;     // from the box's left edge
constexpr int FileNameColumn = 67; // likewise
constexpr int CounterColumn = 88;  // likewise
constexpr QSize ButtonSize{75, 23};
constexpr int BarHeight = 17;

// The captions lType takes: its column is as wide as the widest, so that the names beside
// it stay in place when the caption changes.
constexpr std::initializer_list<const char*> OperationTypes = {
    "Encrypting:", "Decrypting:", "Wiping:"};

QLabel* MakeLabel(const char* name, const char* text, QWidget* parent) {
    auto* label = Named<QLabel>(name, QString::fromUtf8(text), parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton* MakeButton(const char* name, const char* text, QWidget* parent) {
    auto* button = Named<QPushButton>(name, QString::fromUtf8(text), parent);
    button->setMinimumSize(ButtonSize);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* MakePasswordEdit(const char* name, QWidget* parent) {
    auto* edit = Named<QLineEdit>(name, parent);
    SetUpPasswordEdit(edit);
    return edit;
}

QProgressBar* MakeBar(const char* name, QWidget* parent) {
    auto* bar = Named<QProgressBar>(name, parent);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setFixedHeight(BarHeight);
    return bar;
}

// A file name ending in "..." when it is too long: it takes the width its column has.
TKVBEllipsisLabel* MakeFileNameLabel(const char* name, QWidget* parent) {
    auto* label = Named<TKVBEllipsisLabel>(name, parent);
    label->SetAutoSize(false);
    label->SetEllipsis(elEnd);
    label->SetShowAccelChar(false);
    label->SetTransparent(true);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    return label;
}

// Two columns in a box whose contents start at the design's left margin: captions on the
// left, values on the right taking the rest, starting valueColumn pixels from the box's left
// edge unless a caption is wider.
QGridLayout* MakeCaptionGrid(const QMargins& design, int valueColumn) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(CaptionGap);
    grid->setColumnMinimumWidth(0, valueColumn - design.left() - CaptionGap);
    grid->setColumnStretch(1, 1);
    return grid;
}

QHBoxLayout* CentredRow(std::initializer_list<QWidget*> widgets, int spacing) {
    auto* row = new QHBoxLayout;
    row->setSpacing(spacing);
    row->addStretch(1);
    for (QWidget* widget : widgets) {
        row->addWidget(widget);
    }
    row->addStretch(1);
    return row;
}

// Margins of a box's layout that put its contents where the design has them: the box's
// frame already takes some of the room.
QMargins InsideFrame(const QGroupBox* box, const QMargins& design) {
    const QMargins frame = box->contentsMargins();
    return {std::max(design.left() - frame.left(), 0), std::max(design.top() - frame.top(), 0),
            std::max(design.right() - frame.right(), 0),
            std::max(design.bottom() - frame.bottom(), 0)};
}

// The label keeps the width of the widest of the texts it takes.
void ReserveWidth(QLabel* label, std::initializer_list<const char*> texts) {
    const QString shown = label->text();
    int width = 0;
    for (const char* text : texts) {
        label->setText(QString::fromUtf8(text));
        width = std::max(width, label->sizeHint().width());
    }
    label->setText(shown);
    label->setMinimumWidth(width);
}

} // namespace

MainForm::MainForm(QWidget* window) {
    Notebook = Named<QStackedWidget>("Notebook", window);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Notebook);
    MakePasswordPage();
    MakeProgressPage();
    ShowPage(PasswordPage);
}

void MainForm::ShowPage(QWidget* page) {
    for (QWidget* each : {PasswordPage, ProgressPage}) {
        const auto policy = each == page ? QSizePolicy::Preferred : QSizePolicy::Ignored;
        each->setSizePolicy(policy, policy);
    }
    Notebook->setCurrentWidget(page);
}

void MainForm::MakePasswordPage() {
    PasswordPage = Named<QWidget>("Password", Notebook);
    Notebook->addWidget(PasswordPage);

    GroupBox1 = Named<QGroupBox>("GroupBox1", PasswordPage);
    Label3 = Named<QLabel>("Label3", QStringLiteral("&Password:"), GroupBox1);
    ePassword = MakePasswordEdit("ePassword", GroupBox1);
    Label4 = Named<QLabel>("Label4", QStringLiteral("Co&nfirm:"), GroupBox1);
    eConfirm = MakePasswordEdit("eConfirm", GroupBox1);
    Label3->setBuddy(ePassword);
    Label4->setBuddy(eConfirm);
    auto* edits = MakeCaptionGrid(PasswordBoxMargins, EditColumn);
    edits->setContentsMargins(InsideFrame(GroupBox1, PasswordBoxMargins));
    edits->setVerticalSpacing(8);
    edits->addWidget(Label3, 0, 0);
    edits->addWidget(ePassword, 0, 1);
    edits->addWidget(Label4, 1, 0);
    edits->addWidget(eConfirm, 1, 1);
    GroupBox1->setLayout(edits);

    bOK = MakeButton("bOK", "&OK", PasswordPage);
    bOK->setEnabled(false);
    bCancel = MakeButton("bCancel", "&Cancel", PasswordPage);

    auto* page = new QVBoxLayout(PasswordPage);
    page->setContentsMargins(PageMargins);
    page->setSpacing(11);
    page->addWidget(GroupBox1);
    page->addLayout(CentredRow({bOK, bCancel}, 6));
    page->addStretch(1);

    QWidget::setTabOrder(ePassword, eConfirm);
    QWidget::setTabOrder(eConfirm, bOK);
    QWidget::setTabOrder(bOK, bCancel);
}

void MainForm::MakeProgressPage() {
    ProgressPage = Named<QWidget>("Progress", Notebook);
    Notebook->addWidget(ProgressPage);

    GroupBox2 = Named<QGroupBox>("GroupBox2", ProgressPage);
    lType = MakeLabel("lType", "Encrypting:", GroupBox2);
    ReserveWidth(lType, OperationTypes);
    lInFile = MakeFileNameLabel("lInFile", GroupBox2);
    lNew = MakeLabel("lNew", "New File:", GroupBox2);
    QSizePolicy keepPlace = lNew->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    lNew->setSizePolicy(keepPlace);
    lNew->hide();
    lOutFile = MakeFileNameLabel("lOutFile", GroupBox2);
    pbCurrent = MakeBar("pbCurrent", GroupBox2);
    auto* names = MakeCaptionGrid(ProgressBoxMargins, FileNameColumn);
    names->setVerticalSpacing(3);
    names->addWidget(lType, 0, 0);
    names->addWidget(lInFile, 0, 1);
    names->addWidget(lNew, 1, 0);
    names->addWidget(lOutFile, 1, 1);
    auto* current = new QVBoxLayout(GroupBox2);
    current->setContentsMargins(InsideFrame(GroupBox2, ProgressBoxMargins));
    current->setSpacing(14);
    current->addLayout(names);
    current->addWidget(pbCurrent);

    GroupBox3 = Named<QGroupBox>("GroupBox3", ProgressPage);
    Label5 = MakeLabel("Label5", "Processing File:", GroupBox3);
    lOverall = MakeLabel("lOverall", "1of1", GroupBox3);
    pbOverall = MakeBar("pbOverall", GroupBox3);
    auto* counter = MakeCaptionGrid(ProgressBoxMargins, CounterColumn);
    counter->addWidget(Label5, 0, 0);
    counter->addWidget(lOverall, 0, 1);
    auto* overall = new QVBoxLayout(GroupBox3);
    overall->setContentsMargins(InsideFrame(GroupBox3, ProgressBoxMargins));
    overall->setSpacing(13);
    overall->addLayout(counter);
    overall->addWidget(pbOverall);

    Button1 = MakeButton("Button1", "Cancel", ProgressPage);

    auto* page = new QVBoxLayout(ProgressPage);
    page->setContentsMargins(PageMargins);
    page->setSpacing(8);
    page->addWidget(GroupBox2);
    page->addWidget(GroupBox3);
    page->addSpacing(2);
    page->addLayout(CentredRow({Button1}, 0));
    page->addStretch(1);
}

} // namespace quarn::clu

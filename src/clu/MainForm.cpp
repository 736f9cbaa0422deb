#include "clu/MainForm.h"

#include "app/common/FormLayout.h"
#include "app/common/KVBEllipsisLabel.h"
#include "app/common/PasswordRule.h"
#include "platform/gui/DesignScale.h"
#include "platform/gui/Named.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>

namespace quarn::clu {

namespace {

// The pages' measures in the design's pixels.
constexpr QMargins PageMargins{7, 7, 6, 0};
constexpr QMargins PasswordBoxMargins{9, 11, 9, 8};
constexpr QMargins CounterBoxMargins{10, 11, 9, 10};
constexpr int EditColumn = 65;    // from the box's left edge
constexpr int CounterColumn = 88; // likewise
constexpr int BarHeight = 17;

QLineEdit* MakePasswordEdit(const char* name, QWidget* parent) {
    auto* edit = Named<QLineEdit>(name, parent);
    SetUpPasswordEdit(edit);
    return edit;
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
    const DesignScale px = DesignScale::Of(*PasswordPage);
    auto* edits = MakeCaptionGrid(px, px(PasswordBoxMargins), px(EditColumn));
    edits->setContentsMargins(InsideFrame(GroupBox1, px(PasswordBoxMargins)));
    edits->setVerticalSpacing(px(8));
    edits->addWidget(Label3, 0, 0);
    edits->addWidget(ePassword, 0, 1);
    edits->addWidget(Label4, 1, 0);
    edits->addWidget(eConfirm, 1, 1);
    GroupBox1->setLayout(edits);

    bOK = MakeButton("bOK", "&OK", PasswordPage);
    bOK->setEnabled(false);
    bCancel = MakeButton("bCancel", "&Cancel", PasswordPage);

    auto* page = new QVBoxLayout(PasswordPage);
    page->setContentsMargins(px(PageMargins));
    page->setSpacing(px(11));
    page->addWidget(GroupBox1);
    page->addLayout(CentredRow({bOK, bCancel}, px(6)));
    page->addStretch(1);

    QWidget::setTabOrder(ePassword, eConfirm);
    QWidget::setTabOrder(eConfirm, bOK);
    QWidget::setTabOrder(bOK, bCancel);
}

void MainForm::MakeProgressPage() {
    ProgressPage = Named<QWidget>("Progress", Notebook);
    Notebook->addWidget(ProgressPage);

    const FileProgressBox current("GroupBox2", "pbCurrent", ProgressPage);
    GroupBox2 = current.Box;
    lType = current.lType;
    lInFile = current.lInFile;
    lNew = current.lNew;
    lOutFile = current.lOutFile;
    pbCurrent = current.Bar;

    GroupBox3 = Named<QGroupBox>("GroupBox3", ProgressPage);
    Label5 = MakeLabel("Label5", "Processing File:", GroupBox3);
    lOverall = MakeLabel("lOverall", "1of1", GroupBox3);
    const DesignScale px = DesignScale::Of(*ProgressPage);
    pbOverall = MakeBar("pbOverall", px(BarHeight), GroupBox3);
    pbOverall->setAccessibleName(QStringLiteral("Overall progress"));
    auto* counter = MakeCaptionGrid(px, px(CounterBoxMargins), px(CounterColumn));
    counter->addWidget(Label5, 0, 0);
    counter->addWidget(lOverall, 0, 1);
    auto* overall = new QVBoxLayout(GroupBox3);
    overall->setContentsMargins(InsideFrame(GroupBox3, px(CounterBoxMargins)));
    overall->setSpacing(px(13));
    overall->addLayout(counter);
    overall->addWidget(pbOverall);

    Button1 = MakeButton("Button1", "Cancel", ProgressPage);

    auto* page = new QVBoxLayout(ProgressPage);
    page->setContentsMargins(px(PageMargins));
    page->setSpacing(px(8));
    page->addWidget(GroupBox2);
    page->addWidget(GroupBox3);
    page->addSpacing(px(2));
    page->addLayout(CentredRow({Button1}, 0));
    page->addStretch(1);
}

} // namespace quarn::clu

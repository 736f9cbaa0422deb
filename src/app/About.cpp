#include "app/About.h"

#include "app/KVBVersion.h"
#include "app/WebPage.h"
#include "app/common/KeyPreview.h"
#include "help/HelpFuncs.h"
#include "platform/ProgramFile.h"
#include "platform/gui/Application.h"
#include "platform/gui/CentreWindow.h"
#include "platform/gui/DesignScale.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Named.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quarn {

namespace {

constexpr int IconSize = 48;

// The application's icon, or the program icon built into Quarn when the application set
// none.
QIcon ApplicationIcon() {
    const QIcon icon = QApplication::windowIcon();
    return icon.isNull() ? QIcon(":/quarn/quarn.png") : icon;
}

} // namespace

struct TfAbout::Form {
    QWidget* Panel1 = nullptr; // the white panel
    QLabel* iIcon = nullptr;
    QLabel* lProduct = nullptr;
    QLabel* lVersion = nullptr;
    QPushButton* bOK = nullptr;
    QPushButton* bLicense = nullptr;
    QPushButton* bWebsite = nullptr;
    TKVBVersion* Version1 = nullptr;

    explicit Form(QDialog* box);

private:
    QLayout* MakePanel();
    QLayout* MakeButtons(QDialog* box);
};

TfAbout::Form::Form(QDialog* box) {
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(Panel1 = Named<QWidget>("Panel1", box));
    Panel1->setLayout(MakePanel());
    layout->addLayout(MakeButtons(box));
    Version1 = new TKVBVersion(box);
}

QLayout* TfAbout::Form::MakePanel() {
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    Panel1->setPalette(white);

    iIcon = Named<QLabel>("iIcon", Panel1);
    iIcon->setFixedSize(IconSize, IconSize);
    iIcon->setAccessibleName(QStringLiteral("Quarn! icon"));
    lProduct = Named<QLabel>("lProduct", "Quarn!", Panel1);
    QFont productFont = lProduct->font();
    productFont.setBold(true);
    productFont.setPointSizeF(productFont.pointSizeF() * 1.6);
    lProduct->setFont(productFont);
    lVersion = Named<QLabel>("lVersion", "Version 0.0 (Build 0000)", Panel1);

    const DesignScale px = DesignScale::Of(*Panel1);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(px(2));
    texts->addWidget(lProduct);
    texts->addWidget(lVersion);
    auto* panel = new QHBoxLayout;
    panel->setContentsMargins(px(QMargins(16, 16, 32, 16)));
    panel->setSpacing(px(16));
    panel->addWidget(iIcon, 0, Qt::AlignTop);
    panel->addLayout(texts, 1);
    return panel;
}

QLayout* TfAbout::Form::MakeButtons(QDialog* box) {
    bLicense = Named<QPushButton>("bLicense", "License", box);
    bWebsite = Named<QPushButton>("bWebsite", "Website", box);
    bOK = Named<QPushButton>("bOK", "OK", box);
    bOK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    const DesignScale px = DesignScale::Of(*box);
    buttons->setContentsMargins(px(QMargins(12, 10, 12, 12)));
    buttons->setSpacing(px(6));
    buttons->addWidget(bLicense);
    buttons->addWidget(bWebsite);
    buttons->addStretch(1);
    buttons->addWidget(bOK);
    return buttons;
}

QString AboutVersionCaption(const TKVBVersion& version) {
    return QString("Version %1.%2 (Build %3)")
        .arg(version.Major())
        .arg(version.Minor())
        .arg(version.Build());
}

TfAbout::TfAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      form_(std::make_unique<Form>(this)) {
    setObjectName("fAbout");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("About Quarn!");
    connect(form_->bOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(form_->bLicense, &QPushButton::clicked, this, Guarded(this, &TfAbout::bLicenseClick));
    connect(form_->bWebsite, &QPushButton::clicked, this, Guarded(this, &TfAbout::bWebsiteClick));
    new KeyPreview(this);
    FormCreate();
    adjustSize();
    PlaceByFrame(this, [this] { CentreWindow(this); });
}

TfAbout::~TfAbout() = default;

void TfAbout::FormCreate() {
    form_->iIcon->setPixmap(ApplicationIcon().pixmap(IconSize, IconSize));
    form_->Version1->SetFileName(ProgramFilePath());
    form_->lVersion->setText(AboutVersionCaption(*form_->Version1));
}

void TfAbout::bLicenseClick() {
    ShowHelpTopic("standard_license");
}

void TfAbout::bWebsiteClick() {
    OpenWebPage(QuarnHomePage);
}

} // namespace quarn

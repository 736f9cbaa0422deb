#include "app/About.h"

#include "app/KVBVersion.h"
#include "app/WebPage.h"
#include "help/HelpFuncs.h"
#include "platform/ProgramFile.h"
#include "platform/gui/Application.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <exception>

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

QString AboutVersionCaption(const TKVBVersion& version) {
    return QString("Version %1.%2 (Build %3)")
        .arg(version.Major())
        .arg(version.Minor())
        .arg(version.Build());
}

TfAbout::TfAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("About Quarn!");
    BuildForm();
    FormCreate();
    CentreOnScreen();
}

void TfAbout::BuildForm() {
    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    Panel1->setPalette(white);

    iIcon = new QLabel(Panel1);
    iIcon->setFixedSize(IconSize, IconSize);
    lProduct = new QLabel("Quarn!", Panel1);
    QFont productFont = lProduct->font();
    productFont.setBold(true);
    productFont.setPointSizeF(productFont.pointSizeF() * 1.6);
    lProduct->setFont(productFont);
    lVersion = new QLabel("Version 0.0 (Build 0000)", Panel1);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(lProduct);
    texts->addWidget(lVersion);
    auto* panelLayout = new QHBoxLayout(Panel1);
    panelLayout->setContentsMargins(16, 16, 32, 16);
    panelLayout->setSpacing(16);
    panelLayout->addWidget(iIcon, 0, Qt::AlignTop);
    panelLayout->addLayout(texts, 1);

    bLicense = new QPushButton("License", this);
    bWebsite = new QPushButton("Website", this);
    bOK = new QPushButton("OK", this);
    bOK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 10, 12, 12);
    buttons->addWidget(bLicense);
    buttons->addWidget(bWebsite);
    buttons->addStretch(1);
    buttons->addWidget(bOK);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(Panel1);
    layout->addLayout(buttons);

    Version1 = new TKVBVersion(this);

    connect(bOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(bLicense, &QPushButton::clicked, this, GuardedHandler([this] { bLicenseClick(); }));
    connect(bWebsite, &QPushButton::clicked, this, GuardedHandler([this] { bWebsiteClick(); }));

    // Key preview: the form sees keys before its controls.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

void TfAbout::FormCreate() {
    iIcon->setPixmap(ApplicationIcon().pixmap(IconSize, IconSize));
    Version1->SetFileName(ProgramFilePath());
    lVersion->setText(AboutVersionCaption(*Version1));
}

void TfAbout::bLicenseClick() {
    ShowHelpTopic("standard_license");
}

void TfAbout::bWebsiteClick() {
    OpenWebPage(QuarnHomePage);
}

bool TfAbout::FormKeyUp(const QKeyEvent* key) {
    if (key->key() != Qt::Key_F1) {
        return false;
    }
    if (!key->isAutoRepeat()) {
        ShowHelpTopic();
    }
    return true;
}

bool TfAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        try {
            return FormKeyUp(static_cast<const QKeyEvent*>(event));
        } catch (...) {
            ReportException(std::current_exception());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfAbout::CentreOnScreen() {
    adjustSize();
    const QScreen* screen =
        parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

} // namespace quarn

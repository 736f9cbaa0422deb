#include "app/NewPass.h"

#include "app/DialogHelp.h"
#include "app/Main.h"
#include "app/common/FormLayout.h"
#include "app/common/PasswordRule.h"
#include "help/HelpFuncs.h"
#include "platform/gui/Application.h"
#include "platform/gui/CentreWindow.h"
#include "platform/gui/DesignScale.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Named.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QWindow>

namespace quarn {

TfNewPass* fNewPass = nullptr;

namespace {
constexpr char HelpTopic[] = "password_window";
constexpr QMargins FormMargins{7, 7, 6, 0};
constexpr QMargins BoxMargins{9, 11, 9, 6};
constexpr int EditColumn = 65; // from the box's left edge

QLineEdit* MakePasswordEdit(const char* name, QWidget* parent) {
    auto* edit = Named<QLineEdit>(name, parent);
    SetUpPasswordEdit(edit);
    return edit;
}
} // namespace

struct TfNewPass::Form {
    explicit Form(QDialog* dialog);

    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* ePassword = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* eConfirm = nullptr;
    QCheckBox* cbReusePassword = nullptr;
    QPushButton* bOK = nullptr;
    QPushButton* bCancel = nullptr;
};

TfNewPass::Form::Form(QDialog* dialog) {
    GroupBox1 = Named<QGroupBox>("GroupBox1", dialog);
    Label1 = Named<QLabel>("Label1", QStringLiteral("&Password:"), GroupBox1);
    ePassword = MakePasswordEdit("ePassword", GroupBox1);
    Label2 = Named<QLabel>("Label2", QStringLiteral("Co&nfirm:"), GroupBox1);
    eConfirm = MakePasswordEdit("eConfirm", GroupBox1);
    Label1->setBuddy(ePassword);
    Label2->setBuddy(eConfirm);
    cbReusePassword =
        Named<QCheckBox>("cbReusePassword", QStringLiteral("&Use for session"), GroupBox1);
    cbReusePassword->setEnabled(false);
    const DesignScale px = DesignScale::Of(*dialog);
    auto* grid = MakeCaptionGrid(px, px(BoxMargins), px(EditColumn));
    grid->setContentsMargins(InsideFrame(GroupBox1, px(BoxMargins)));
    grid->setVerticalSpacing(px(6));
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(ePassword, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(eConfirm, 1, 1);
    grid->addWidget(cbReusePassword, 2, 1);
    GroupBox1->setLayout(grid);

    bOK = MakeButton("bOK", "&OK", dialog);
    bOK->setDefault(true);
    bOK->setEnabled(false);
    bCancel = MakeButton("bCancel", "&Cancel", dialog);

    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(px(FormMargins));
    layout->setSpacing(px(8));
    layout->addWidget(GroupBox1);
    layout->addLayout(CentredRow({bOK, bCancel}, px(6)));
    layout->addStretch(1);

    QWidget::setTabOrder(ePassword, eConfirm);
    QWidget::setTabOrder(eConfirm, cbReusePassword);
    QWidget::setTabOrder(cbReusePassword, bOK);
    QWidget::setTabOrder(bOK, bCancel);
}

TfNewPass::TfNewPass(TfMain* owner)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      owner_(owner) {
    fNewPass = this;
    setObjectName(QStringLiteral("fNewPass"));
    setWindowTitle(QStringLiteral("Password"));
    form_ = std::make_unique<Form>(this);
    setFixedSize(DesignScale::Of(*this)(ClientSize).expandedTo(minimumSizeHint()));

    connect(form_->ePassword, &QLineEdit::textChanged, this,
            Guarded(this, &TfNewPass::ePasswordChange));
    connect(form_->eConfirm, &QLineEdit::textChanged, this,
            Guarded(this, &TfNewPass::ePasswordChange));
    connect(form_->bOK, &QPushButton::clicked, this, Guarded(this, &TfNewPass::bOKClick));
    connect(form_->bCancel, &QPushButton::clicked, this, &QDialog::reject);
    AddDialogHelp(*this, HelpTopic, [this] { WMSysCommand(); });
    PlaceByFrame(this, [this] { CentreWindow(this, owner_); });
}

TfNewPass::~TfNewPass() {
    if (fNewPass == this) {
        fNewPass = nullptr;
    }
}

void TfNewPass::WMSysCommand() {
    ShowHelpTopic(HelpTopic);
}

void TfNewPass::ePasswordChange() {
    const bool both = !form_->ePassword->text().isEmpty() && !form_->eConfirm->text().isEmpty();
    form_->bOK->setEnabled(both);
    form_->cbReusePassword->setEnabled(both);
}

void TfNewPass::bOKClick() {
    const QString password = form_->ePassword->text();
    const PasswordCheck check = CheckPassword(password, form_->eConfirm->text(), NewPassword);
    if (check != PasswordCheck::Accepted) {
        ShowPasswordRefusal(check);
        RefusePassword();
        return;
    }
    if (owner_ != nullptr) {
        owner_->SessionPassword = password.toUtf8().toStdString();
        owner_->ReusePassword = form_->cbReusePassword->isChecked();
    }
    accept();
}

void TfNewPass::RefusePassword() {
    form_->eConfirm->clear();
    form_->ePassword->clear();
    form_->ePassword->setFocus();
}

void TfNewPass::FormShow() {
    if (!form_->cbReusePassword->isChecked()) {
        form_->ePassword->clear();
        form_->eConfirm->clear();
    }
    form_->ePassword->setFocus();
    ProcessMessages();
}

void TfNewPass::done(int result) {
    if (showing_) {
        QMetaObject::invokeMethod(
            this, [this, result] { done(result); }, Qt::QueuedConnection);
        return;
    }
    QDialog::done(result);
}

void TfNewPass::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (owner_ != nullptr && owner_->windowHandle() != nullptr) {
        windowHandle()->setTransientParent(owner_->windowHandle());
    }
    CentreWindow(this, owner_);
    const QScopedValueRollback showing(showing_, true);
    RunGuarded([this] { FormShow(); });
}

} // namespace quarn

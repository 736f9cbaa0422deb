#include "app/Progress.h"

#include "app/Main.h"
#include "app/common/FormLayout.h"
#include "app/common/KVBEllipsisLabel.h"
#include "app/common/KeyPreview.h"
#include "platform/gui/ApplicationEvents.h"
#include "platform/gui/CentreWindow.h"
#include "platform/gui/DesignScale.h"
#include "platform/gui/Guard.h"
#include "platform/gui/TaskWindows.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QWindow>
#include <algorithm>

namespace quarn {

TfProgress* fProgress = nullptr;

namespace {
constexpr QMargins FormMargins{7, 7, 6, 9};
constexpr int ButtonGap = 10; // between the box and Cancel

QString Text(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

struct TfProgress::Form {
    explicit Form(QDialog* dialog);

    FileProgressBox File;
    QPushButton* bCancel = nullptr;
};

TfProgress::Form::Form(QDialog* dialog) : File("GroupBox1", "ProgressBar", dialog) {
    bCancel = MakeButton("bCancel", "Cancel", dialog);
    bCancel->setDefault(true);
    const DesignScale px = DesignScale::Of(*dialog);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(px(FormMargins));
    layout->setSpacing(px(ButtonGap));
    layout->addWidget(File.Box);
    layout->addLayout(CentredRow({bCancel}, 0));
    layout->addStretch(1);
}

TfProgress::TfProgress(TfMain* owner)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      owner_(owner) {
    fProgress = this;
    setObjectName(QStringLiteral("fProgress"));
    // Its minimize box minimizes the application.
    TApplicationEvents::CountWindow(*this);
    setWindowTitle(QStringLiteral("Progress"));
    form_ = std::make_unique<Form>(this);
    setFixedSize(DesignScale::Of(*this)(ClientSize).expandedTo(minimumSizeHint()));
    connect(form_->bCancel, &QPushButton::clicked, this, Guarded(this, &TfProgress::bCancelClick));

    auto* keys = new KeyPreview(this);
    // A held Enter, such as the one that confirmed the password, does not cancel.
    keys->OnKeyDown = [](const QKeyEvent& key) {
        return key.isAutoRepeat() && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter);
    };
    PlaceByFrame(this, [this] { CentreWindow(this, owner_); });
}

TfProgress::~TfProgress() {
    if (fProgress == this) {
        fProgress = nullptr;
    }
}

void TfProgress::ClearProgress() {
    SetOperationType({});
    SetInFile({});
    ClearOutFile();
    SetFileProgress(0);
}

void TfProgress::SetOperationType(const std::string& text) {
    form_->File.lType->setText(Text(text));
}

void TfProgress::SetInFile(const std::string& name) {
    form_->File.lInFile->SetCaption(name);
}

void TfProgress::SetOutFile(const std::string& name) {
    form_->File.lNew->show();
    form_->File.lOutFile->SetCaption(name);
}

void TfProgress::ClearOutFile() {
    form_->File.lOutFile->SetCaption({});
    form_->File.lNew->hide();
}

void TfProgress::SetFileProgress(int percent) {
    form_->File.Bar->setValue(std::clamp(percent, 0, 100));
}

void TfProgress::ShowForm() {
    CentreWindow(this, owner_);
    if (owner_ != nullptr && owner_->windowHandle() != nullptr) {
        winId();
        windowHandle()->setTransientParent(owner_->windowHandle());
    }
    show();
    raise();
    activateWindow();
    form_->bCancel->setFocus();
}

void TfProgress::CloseForm() {
    const QScopedValueRollback closing(closing_, true);
    close();
}

void TfProgress::bCancelClick() {
    if (owner_ != nullptr) {
        owner_->RequestCancel();
    }
}

void TfProgress::reject() {
    RunGuarded([this] { bCancelClick(); });
}

void TfProgress::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        event->ignore();
        RunGuarded([this] { bCancelClick(); });
        return;
    }
    event->accept();
    RunGuarded([this] { FormClose(); });
}

void TfProgress::FormClose() {
    if (owner_ != nullptr) {
        EnableTaskWindows(owner_->DisabledWindows);
    }
}

} // namespace quarn

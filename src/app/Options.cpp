#include "app/Options.h"

#include "app/DialogHelp.h"
#include "app/DirectoryExists.h"
#include "app/EditFilters.h"
#include "app/HandlerRadioButton.h"
#include "app/MainWindowHost.h"
#include "app/common/FormLayout.h"
#include "app/common/Settings.h"
#include "help/HelpFuncs.h"
#include "platform/MessageService.h"
#include "platform/gui/CentreWindow.h"
#include "platform/gui/DesignScale.h"
#include "platform/gui/Guard.h"
#include "platform/gui/Hourglass.h"
#include "platform/gui/Named.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>
#include <cstdint>
#include <optional>

namespace quarn {

namespace {

constexpr QSize ClientSize{325, 283};
constexpr int Indent = 17; // texts under a radio button or check box start under its caption

constexpr char FolderMissing[] =
    "The specified Start-up Folder does not exist. Please specify a valid Start-up Folder, or "
    "select a different Start-up Folder option.";
constexpr char WipeCountIncorrect[] =
    "You have specified an incorrect wipe count. A valid range is 1-100.";
constexpr char WipeCountInvalid[] =
    "You have specified an invalid wipe count. A valid range is 1-100.";

std::string HexValueRefusal(const char* kind, const char* procedure) {
    return std::string("You have specified an ") + kind + " hex value for the " + procedure +
           " procedure. A valid range is $00-$FF.";
}

// The pages' help topics, by page index.
constexpr const char* PageTopics[] = {"options_general", "options_encryption", "options_wiping"};

bool IsHexDigit(QChar key) {
    return QStringLiteral("0123456789ABCDEFabcdef").contains(key);
}

bool IsDecimalDigit(QChar key) {
    return key >= '0' && key <= '9';
}

// "$" + text as a number: one to eight hexadecimal digits, taken as 32 bits.
std::optional<std::int32_t> HexNumber(const QString& text) {
    if (text.isEmpty() || text.size() > 8) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const QChar c : text) {
        if (!IsHexDigit(c)) {
            return std::nullopt;
        }
        const int digit = QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper());
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::int32_t>(value);
}

// A decimal number: leading blanks, a sign, then one or more digits, within 32 bits.
std::optional<std::int32_t> DecimalNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (!IsDecimalDigit(text[i]) || value > INT32_MAX) {
            return std::nullopt;
        }
        value = value * 10 + (text[i].unicode() - '0');
    }
    value = negative ? -value : value;
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

QString TwoHexDigits(std::int32_t value) {
    return QStringLiteral("%1").arg(static_cast<std::uint32_t>(value), 2, 16, QChar('0')).toUpper();
}

QString FromBytes(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToBytes(const QString& text) {
    return text.toUtf8().toStdString();
}

// A check's refusal: the message, then the field reset to its default (when it has one), its
// page shown and the focus in it.
void Refuse(QTabWidget* pages, QWidget* page, QLineEdit* field, MessageKind kind,
            const std::string& text, const char* reset = nullptr) {
    Messages().Show(kind, text, MessageButtons::Ok);
    if (reset != nullptr) {
        field->setText(QString::fromLatin1(reset));
    }
    pages->setCurrentWidget(page);
    field->setFocus();
}

// A label that explains the control above it, under that control's caption.
QLabel* MakeNote(const char* name, const char* text, QWidget* parent) {
    QLabel* label = MakeLabel(name, text, parent);
    label->setWordWrap(true);
    label->setContentsMargins(Indent, 0, 0, 0);
    return label;
}

QLineEdit* MakeEdit(const char* name, const char* text, int maxLength, bool upperCase,
                    QWidget* parent) {
    auto* edit = Named<QLineEdit>(name, QString::fromUtf8(text), parent);
    new EditLimit(edit, maxLength, upperCase);
    const int digitWidth = edit->fontMetrics().horizontalAdvance(QChar('W'));
    edit->setFixedWidth(digitWidth * maxLength + 10);
    return edit;
}

// The controls of a group box, one under the other.
QVBoxLayout* BoxColumn(QGroupBox* box) {
    const DesignScale px = DesignScale::Of(*box);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(px(QMargins(8, 4, 8, 6)));
    column->setSpacing(px(2));
    return column;
}

// The controls of a page, one under the other.
QVBoxLayout* PageColumn(QWidget* page) {
    const DesignScale px = DesignScale::Of(*page);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(px(QMargins(8, 8, 8, 8)));
    column->setSpacing(px(4));
    return column;
}

// A row: the label, then its edit, with the rest of the row empty.
QHBoxLayout* LabelledEdit(QLabel* label, QLineEdit* edit, int indent = 0) {
    label->setBuddy(edit);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(indent, 0, 0, 0);
    row->addWidget(label);
    row->addWidget(edit);
    row->addStretch(1);
    return row;
}

} // namespace

struct TfOptions::Form {
    QTabWidget* PageControl1 = nullptr;
    QPushButton* bOk = nullptr;
    QPushButton* Button2 = nullptr;

    QWidget* TabSheet2 = nullptr; // General
    QGroupBox* GroupBox5 = nullptr;
    QRadioButton* rbDefault = nullptr;
    QRadioButton* rbLast = nullptr;
    QRadioButton* rbSpecified = nullptr;
    QLineEdit* eStartupFolder = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QGroupBox* GroupBox6 = nullptr;
    QCheckBox* cbDisplayFolderSize = nullptr;
    QCheckBox* cbDisplaySelectedSize = nullptr;
    QLabel* Label8 = nullptr;

    QWidget* TabSheet3 = nullptr; // Encryption
    QCheckBox* cbEncryptName = nullptr;
    QCheckBox* cbAppendExtension = nullptr;
    QRadioButton* rbDelete = nullptr;
    QLabel* Label6 = nullptr;
    QRadioButton* rbWipe = nullptr;
    QLabel* Label7 = nullptr;

    QWidget* TabSheet1 = nullptr; // Wiping
    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* rbFastWipe = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* eFastHex = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QRadioButton* rbGovernmentWipe = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* eGovernmentHex = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* eWipeCount = nullptr;

    explicit Form(QDialog* dialog);

private:
    QWidget* MakeGeneralPage();
    QWidget* MakeEncryptionPage();
    QWidget* MakeWipingPage();
    QLayout* MakeButtons(QDialog* dialog);
};

TfOptions::Form::Form(QDialog* dialog) {
    PageControl1 = Named<QTabWidget>("PageControl1", dialog);
    PageControl1->addTab(MakeGeneralPage(), QStringLiteral("General"));
    PageControl1->addTab(MakeEncryptionPage(), QStringLiteral("Encryption"));
    PageControl1->addTab(MakeWipingPage(), QStringLiteral("Wiping"));
    const DesignScale px = DesignScale::Of(*dialog);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(px(QMargins(8, 8, 8, 8)));
    layout->setSpacing(px(8));
    layout->addWidget(PageControl1, 1);
    layout->addLayout(MakeButtons(dialog));
}

QWidget* TfOptions::Form::MakeGeneralPage() {
    TabSheet2 = Named<QWidget>("TabSheet2");
    GroupBox5 = Named<QGroupBox>("GroupBox5", QStringLiteral("Start-up Folder"), TabSheet2);
    rbDefault = Named<QRadioButton>("rbDefault", QStringLiteral("System default"), GroupBox5);
    rbDefault->setChecked(true);
    rbLast = Named<QRadioButton>("rbLast", QStringLiteral("Last open folder"), GroupBox5);
    rbSpecified = Named<QRadioButton>("rbSpecified", QStringLiteral("Folder:"), GroupBox5);
    eStartupFolder = Named<QLineEdit>("eStartupFolder", GroupBox5);
    eStartupFolder->setAccessibleName(QStringLiteral("Start-up Folder"));
    SpeedButton1 = Named<QToolButton>("SpeedButton1", GroupBox5);
    SpeedButton1->setText(QStringLiteral("..."));
    QFont bold;
    bold.setBold(true);
    SpeedButton1->setFont(bold);
    SpeedButton1->setToolTip(QStringLiteral("Browse for folder"));
    SpeedButton1->setAccessibleName(QStringLiteral("Browse for folder"));
    const DesignScale px = DesignScale::Of(*TabSheet2);
    SpeedButton1->setFixedSize(px(QSize(23, 22)));

    auto* folderRow = new QHBoxLayout;
    folderRow->setSpacing(px(4));
    folderRow->addWidget(rbSpecified);
    folderRow->addWidget(eStartupFolder, 1);
    folderRow->addWidget(SpeedButton1);
    QVBoxLayout* startup = BoxColumn(GroupBox5);
    startup->addWidget(rbDefault);
    startup->addWidget(rbLast);
    startup->addLayout(folderRow);

    GroupBox6 =
        Named<QGroupBox>("GroupBox6", QStringLiteral("Extended File Information"), TabSheet2);
    cbDisplayFolderSize = Named<QCheckBox>(
        "cbDisplayFolderSize", QStringLiteral("Display folder size in Status Bar"), GroupBox6);
    cbDisplaySelectedSize =
        Named<QCheckBox>("cbDisplaySelectedSize",
                         QStringLiteral("Display selected file size in Status Bar"), GroupBox6);
    Label8 = MakeLabel("Label8",
                       "Warning: enabling these options may effect how fast files are displayed "
                       "and selected on slower computers.",
                       GroupBox6);
    Label8->setWordWrap(true);
    QFont serif;
    serif.setFamily(QStringLiteral("Serif"));
    serif.setStyleHint(QFont::Serif);
    serif.setItalic(true);
    Label8->setFont(serif);
    QPalette maroon = Label8->palette();
    maroon.setColor(QPalette::WindowText, QColor(0x80, 0, 0));
    Label8->setPalette(maroon);
    QVBoxLayout* extended = BoxColumn(GroupBox6);
    extended->addWidget(cbDisplayFolderSize);
    extended->addWidget(cbDisplaySelectedSize);
    extended->addWidget(Label8);

    QVBoxLayout* page = PageColumn(TabSheet2);
    page->addWidget(GroupBox5);
    page->addWidget(GroupBox6);
    page->addStretch(1);
    return TabSheet2;
}

QWidget* TfOptions::Form::MakeEncryptionPage() {
    TabSheet3 = Named<QWidget>("TabSheet3");
    cbEncryptName =
        Named<QCheckBox>("cbEncryptName", QStringLiteral("Encrypt File Name"), TabSheet3);
    cbEncryptName->setChecked(true);
    cbAppendExtension =
        Named<QCheckBox>("cbAppendExtension", QStringLiteral("Append Quarn! Extension"), TabSheet3);
    cbAppendExtension->setEnabled(false);
    rbDelete = Named<QRadioButton>("rbDelete", QStringLiteral("Delete Original File (fastest)"),
                                   TabSheet3);
    Label6 = MakeNote("Label6",
                      "The original file is removed from your hard drive via a conventional "
                      "system delete. Files that are removed in this manner can be recovered "
                      "with little to no difficulty.",
                      TabSheet3);
    rbDelete->setAccessibleDescription(Label6->text());
    rbWipe = Named<QRadioButton>("rbWipe", QStringLiteral("Wipe Original File (most secure)"),
                                 TabSheet3);
    rbWipe->setChecked(true);
    Label7 = MakeNote("Label7",
                      "The original file is first wiped, using the specified settings under "
                      "Wiping, then deleted. Files that are removed in this manner generally "
                      "cannot be recovered.",
                      TabSheet3);
    rbWipe->setAccessibleDescription(Label7->text());

    const DesignScale px = DesignScale::Of(*TabSheet3);
    QVBoxLayout* page = PageColumn(TabSheet3);
    page->addWidget(cbEncryptName);
    page->addWidget(cbAppendExtension);
    page->addSpacing(px(10));
    page->addWidget(rbDelete);
    page->addWidget(Label6);
    page->addSpacing(px(6));
    page->addWidget(rbWipe);
    page->addWidget(Label7);
    page->addStretch(1);
    return TabSheet3;
}

// Each wipe method in a box of its own: the handlers keep the two exclusive.
QWidget* TfOptions::Form::MakeWipingPage() {
    TabSheet1 = Named<QWidget>("TabSheet1");
    GroupBox1 = Named<QGroupBox>("GroupBox1", TabSheet1);
    rbFastWipe = Named<THandlerRadioButton>("rbFastWipe", QStringLiteral("Fast Wipe"), GroupBox1);
    rbFastWipe->setChecked(true);
    Label1 = MakeLabel("Label1", "Write once the hex value:", GroupBox1);
    eFastHex = MakeEdit("eFastHex", "00", 2, true, GroupBox1);
    QVBoxLayout* fast = BoxColumn(GroupBox1);
    fast->addWidget(rbFastWipe);
    fast->addLayout(LabelledEdit(Label1, eFastHex, Indent));

    GroupBox2 = Named<QGroupBox>("GroupBox2", TabSheet1);
    rbGovernmentWipe = Named<THandlerRadioButton>(
        "rbGovernmentWipe", QStringLiteral("Government Wipe - (DoD 5220.22-M)"), GroupBox2);
    Label2 = MakeNote("Label2", "Pass 1: Writes the hex value 0x00", GroupBox2);
    Label3 = MakeNote("Label3", "Pass 2: Writes the hex value 0xFF", GroupBox2);
    Label4 = MakeLabel("Label4", "Pass 3: Writes the hex value:", GroupBox2);
    eGovernmentHex = MakeEdit("eGovernmentHex", "AA", 2, true, GroupBox2);
    eGovernmentHex->setEnabled(false);
    QVBoxLayout* government = BoxColumn(GroupBox2);
    government->addWidget(rbGovernmentWipe);
    government->addWidget(Label2);
    government->addWidget(Label3);
    government->addLayout(LabelledEdit(Label4, eGovernmentHex, Indent));

    Label5 = MakeLabel("Label5", "Times to perform the wipe:", TabSheet1);
    eWipeCount = MakeEdit("eWipeCount", "1", 3, false, TabSheet1);

    QVBoxLayout* page = PageColumn(TabSheet1);
    page->addWidget(GroupBox1);
    page->addWidget(GroupBox2);
    page->addLayout(LabelledEdit(Label5, eWipeCount));
    page->addStretch(1);
    return TabSheet1;
}

QLayout* TfOptions::Form::MakeButtons(QDialog* dialog) {
    bOk = MakeDialogButton("bOk", "OK", dialog);
    bOk->setDefault(true);
    Button2 = MakeDialogButton("Button2", "Cancel", dialog);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bOk);
    buttons->addWidget(Button2);
    return buttons;
}

TfOptions::TfOptions(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("fOptions"));
    setWindowTitle(QStringLiteral("Options"));
    form_ = std::make_unique<Form>(this);
    Form& f = *form_;
    connect(f.bOk, &QPushButton::clicked, this, Guarded(this, &TfOptions::bOkClick));
    connect(f.Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(f.rbFastWipe, &QRadioButton::clicked, this, Guarded(this, &TfOptions::rbFastWipeClick));
    connect(f.rbGovernmentWipe, &QRadioButton::clicked, this,
            Guarded(this, &TfOptions::rbGovernmentWipeClick));
    connect(f.cbEncryptName, &QCheckBox::toggled, this,
            Guarded(this, &TfOptions::cbEncryptNameClick));
    connect(f.SpeedButton1, &QToolButton::clicked, this,
            Guarded(this, &TfOptions::SpeedButton1Click));
    new TypedCharacterFilter(f.eFastHex, &TfOptions::eFastHexKeyPress);
    new TypedCharacterFilter(f.eGovernmentHex, &TfOptions::eGovernmentHexKeyPress);
    new TypedCharacterFilter(f.eWipeCount, &TfOptions::eWipeCountKeyPress);
    AddDialogHelp(*this, "options", [this] { WMSysCommand(); });
    // The design's size in the font in use, or more where the font needs it: the wrapped notes
    // take their lines.
    const QSize design = DesignScale::Of(*this)(ClientSize);
    const int width = std::max(design.width(), minimumSizeHint().width());
    setFixedSize(width, std::max(design.height(), layout()->totalHeightForWidth(width)));
    PlaceByFrame(this, [this] { CentreWindow(this); });
}

TfOptions::~TfOptions() = default;

void TfOptions::LoadSettings(const Settings& settings) {
    Form& f = *form_;
    switch (settings.Startup) {
    case 0:
        f.rbDefault->setChecked(true);
        break;
    case 1:
        f.rbLast->setChecked(true);
        break;
    default:
        f.rbSpecified->setChecked(true);
        f.eStartupFolder->setText(FromBytes(settings.StartupFolder));
        break;
    }
    f.cbDisplayFolderSize->setChecked(settings.DisplayFolderSize);
    f.cbDisplaySelectedSize->setChecked(settings.DisplaySelectedSize);
    f.cbEncryptName->setChecked(settings.Engine.EncryptName);
    f.cbAppendExtension->setChecked(settings.Engine.AppendExtension);
    (settings.Engine.DeleteOriginal ? f.rbDelete : f.rbWipe)->setChecked(true);
    if (settings.Engine.FastWipe) {
        rbFastWipeClick();
        f.eFastHex->setText(TwoHexDigits(settings.Engine.HexValue));
    } else {
        rbGovernmentWipeClick();
        f.eGovernmentHex->setText(TwoHexDigits(settings.Engine.HexValue));
    }
    f.eWipeCount->setText(QString::number(settings.Engine.WipeCount));
}

void TfOptions::StoreSettings(Settings& settings) const {
    const Form& f = *form_;
    settings.StartupFolder.clear();
    if (f.rbDefault->isChecked()) {
        settings.Startup = 0;
    } else if (f.rbLast->isChecked()) {
        settings.Startup = 1;
    } else {
        settings.Startup = 2;
        settings.StartupFolder = ToBytes(f.eStartupFolder->text());
    }
    settings.DisplayFolderSize = f.cbDisplayFolderSize->isChecked();
    settings.DisplaySelectedSize = f.cbDisplaySelectedSize->isChecked();
    settings.Engine.EncryptName = f.cbEncryptName->isChecked();
    settings.Engine.AppendExtension = f.cbAppendExtension->isChecked();
    settings.Engine.DeleteOriginal = f.rbDelete->isChecked();
    settings.Engine.FastWipe = f.rbFastWipe->isChecked();
    const QLineEdit* hex = settings.Engine.FastWipe ? f.eFastHex : f.eGovernmentHex;
    settings.Engine.HexValue = HexNumber(hex->text()).value();
    settings.Engine.WipeCount = DecimalNumber(f.eWipeCount->text()).value();
}

void TfOptions::WMSysCommand() {
    const int page = form_->PageControl1->currentIndex();
    if (page >= 0 && page < static_cast<int>(std::size(PageTopics))) {
        ShowHelpTopic(PageTopics[page]);
    }
}

void TfOptions::rbFastWipeClick() {
    Form& f = *form_;
    f.rbGovernmentWipe->setChecked(false);
    f.eGovernmentHex->setEnabled(false);
    f.rbFastWipe->setChecked(true);
    f.eFastHex->setEnabled(true);
}

void TfOptions::rbGovernmentWipeClick() {
    Form& f = *form_;
    f.rbFastWipe->setChecked(false);
    f.eFastHex->setEnabled(false);
    f.rbGovernmentWipe->setChecked(true);
    f.eGovernmentHex->setEnabled(true);
}

void TfOptions::cbEncryptNameClick() {
    form_->cbAppendExtension->setEnabled(!form_->cbEncryptName->isChecked());
}

bool TfOptions::eFastHexKeyPress(QChar key) {
    return IsHexDigit(key);
}

bool TfOptions::eGovernmentHexKeyPress(QChar key) {
    return IsHexDigit(key);
}

bool TfOptions::eWipeCountKeyPress(QChar key) {
    return IsDecimalDigit(key);
}

void TfOptions::SpeedButton1Click() {
    const std::optional<std::string> folder = Messages().AskFolder("Start-up Folder:");
    if (!folder || folder->empty()) {
        return;
    }
    form_->eStartupFolder->setText(FromBytes(*folder));
    form_->eStartupFolder->setFocus();
    form_->rbSpecified->setChecked(true);
}

void TfOptions::bOkClick() {
    if (StartupFolderValid() && HexValueValid() && WipeCountValid()) {
        accept();
    }
}

bool TfOptions::StartupFolderValid() {
    Form& f = *form_;
    if (!f.rbSpecified->isChecked() || DirectoryExists(ToBytes(f.eStartupFolder->text()))) {
        return true;
    }
    Refuse(f.PageControl1, f.TabSheet2, f.eStartupFolder, MessageKind::Warning, FolderMissing);
    return false;
}

bool TfOptions::HexValueValid() {
    Form& f = *form_;
    const bool fast = f.rbFastWipe->isChecked();
    QLineEdit* edit = fast ? f.eFastHex : f.eGovernmentHex;
    const char* procedure = fast ? "Fast Wipe" : "Government Wipe";
    const char* reset = fast ? "00" : "AA";
    const std::optional<std::int32_t> value = HexNumber(edit->text());
    if (value && *value >= 0 && *value <= 255) {
        return true;
    }
    Refuse(f.PageControl1, f.TabSheet1, edit, MessageKind::Information,
           HexValueRefusal(value ? "invalid" : "incorrect", procedure), reset);
    return false;
}

bool TfOptions::WipeCountValid() {
    Form& f = *form_;
    const std::optional<std::int32_t> count = DecimalNumber(f.eWipeCount->text());
    if (count && *count >= 1 && *count <= 100) {
        return true;
    }
    Refuse(f.PageControl1, f.TabSheet1, f.eWipeCount, MessageKind::Information,
           count ? WipeCountInvalid : WipeCountIncorrect, "1");
    return false;
}

void Options1Click(MainWindowHost& host) {
    TfOptions fOptions(host.Window());
    fOptions.LoadSettings(host.SettingsFields());
    if (fOptions.exec() != QDialog::Accepted) {
        return;
    }
    {
        const Hourglass hourglass;
        fOptions.StoreSettings(host.SettingsFields());
        SaveSettings(host.Registry(), host.SettingsFields());
    }
    host.RefreshViews();
}

} // namespace quarn

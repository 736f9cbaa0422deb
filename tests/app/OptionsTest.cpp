// The options dialog: filling, the wipe buttons, the edits' key filters, the checks on OK, the
// start-up folder picker, help, and the round trip through the main window's settings.
#include "app/Options.h"

#include "CaseNames.h"
#include "DialogsFixture.h"
#include "FormChild.h"
#include "platform/QuarnRegistryKey.h"
#include "platform/gui/DesignScale.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QWhatsThis>
#include <filesystem>
#include <sstream>
#include <utility>

namespace quarn {
namespace {

using test::FormChild;
using test::ShownMessage;

constexpr char FolderMissing[] =
    "The specified Start-up Folder does not exist. Please specify a valid Start-up Folder, or "
    "select a different Start-up Folder option.";

std::string Describe(const Settings& s) {
    std::ostringstream out;
    out << "Startup=" << int(s.Startup) << " StartupFolder=" << s.StartupFolder
        << " DisplayFolderSize=" << s.DisplayFolderSize
        << " DisplaySelectedSize=" << s.DisplaySelectedSize
        << " EncryptName=" << s.Engine.EncryptName
        << " AppendExtension=" << s.Engine.AppendExtension
        << " DeleteOriginal=" << s.Engine.DeleteOriginal << " FastWipe=" << s.Engine.FastWipe
        << " HexValue=" << s.Engine.HexValue << " WipeCount=" << s.Engine.WipeCount;
    return out.str();
}

class OptionsTest : public test::DialogsFixture {
protected:
    template <typename Widget> Widget* Child(const char* name) {
        return FormChild<Widget>(&dialog_, name);
    }
    QLineEdit* Edit(const char* name) { return Child<QLineEdit>(name); }
    QRadioButton* Radio(const char* name) { return Child<QRadioButton>(name); }
    QCheckBox* Check(const char* name) { return Child<QCheckBox>(name); }
    QTabWidget* Pages() { return Child<QTabWidget>("PageControl1"); }

    void ShowActive() {
        dialog_.show();
        dialog_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog_));
    }

    // Replaces the edit's text as the user does: everything selected, then typed over.
    static void TypeOver(QLineEdit* edit, const QString& keys) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, keys);
    }

    TfOptions dialog_;
};

TEST_F(OptionsTest, FirstStartShowsTheDefaultsOnTheGeneralPage) {
    dialog_.LoadSettings(Settings{});
    EXPECT_EQ(dialog_.windowTitle(), "Options");
    ASSERT_EQ(Pages()->count(), 3);
    EXPECT_EQ(Pages()->tabText(0), "General");
    EXPECT_EQ(Pages()->tabText(1), "Encryption");
    EXPECT_EQ(Pages()->tabText(2), "Wiping");
    EXPECT_EQ(Pages()->currentIndex(), 0);
    EXPECT_TRUE(Radio("rbDefault")->isChecked());
    EXPECT_TRUE(Check("cbEncryptName")->isChecked());
    EXPECT_FALSE(Check("cbAppendExtension")->isEnabled());
    EXPECT_TRUE(Radio("rbWipe")->isChecked());
    EXPECT_TRUE(Radio("rbFastWipe")->isChecked());
    EXPECT_FALSE(Radio("rbGovernmentWipe")->isChecked());
    EXPECT_EQ(Edit("eFastHex")->text(), "00");
    EXPECT_EQ(Edit("eGovernmentHex")->text(), "AA");
    EXPECT_FALSE(Edit("eGovernmentHex")->isEnabled());
    EXPECT_EQ(Edit("eWipeCount")->text(), "1");
    EXPECT_TRUE(Child<QPushButton>("bOk")->isDefault());
    EXPECT_TRUE(dialog_.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
    // The design's client area in the font in use, or more where the font needs it, and
    // never resizable.
    const DesignScale px = DesignScale::Of(dialog_);
    EXPECT_GE(dialog_.width(), px(325));
    EXPECT_GE(dialog_.height(), px(283));
    EXPECT_EQ(dialog_.minimumSize(), dialog_.maximumSize());
}

TEST_F(OptionsTest, EverySettingRoundTripsThroughTheDialog) {
    Settings chosen;
    chosen.Startup = 2;
    chosen.StartupFolder = folders_.Path().string();
    chosen.DisplayFolderSize = true;
    chosen.DisplaySelectedSize = true;
    chosen.Engine.EncryptName = false;
    chosen.Engine.AppendExtension = true;
    chosen.Engine.DeleteOriginal = true;
    chosen.Engine.FastWipe = false;
    chosen.Engine.HexValue = 0x5C;
    chosen.Engine.WipeCount = 42;
    dialog_.LoadSettings(chosen);
    EXPECT_EQ(Edit("eGovernmentHex")->text(), "5C");
    EXPECT_EQ(Edit("eFastHex")->text(), "00") << "the other hex edit keeps its form text";
    Child<QPushButton>("bOk")->click();
    ASSERT_EQ(dialog_.result(), QDialog::Accepted);
    Settings stored;
    dialog_.StoreSettings(stored);
    EXPECT_EQ(Describe(stored), Describe(chosen));
}

TEST_F(OptionsTest, LastOpenFolderShowsNoFolderAndStoresNone) {
    Settings last;
    last.Startup = 1;
    last.StartupFolder = "/home/me/Last/";
    dialog_.LoadSettings(last);
    EXPECT_TRUE(Radio("rbLast")->isChecked());
    EXPECT_EQ(Edit("eStartupFolder")->text(), "");
    Settings stored = last;
    dialog_.StoreSettings(stored);
    EXPECT_EQ(stored.Startup, 1);
    EXPECT_EQ(stored.StartupFolder, "");
}

// The two wipe buttons sit in boxes of their own and are kept exclusive by their handlers:
// whatever the user clicks, exactly one is checked, and that one is stored.
TEST_F(OptionsTest, WipeButtonsStayExclusiveAndTheChosenOneIsStored) {
    dialog_.LoadSettings(Settings{});
    QRadioButton* fast = Radio("rbFastWipe");
    QRadioButton* government = Radio("rbGovernmentWipe");
    for (QRadioButton* click : {government, government, fast, fast, government}) {
        QTest::mouseClick(click, Qt::LeftButton);
        SCOPED_TRACE(click->objectName().toStdString());
        EXPECT_TRUE(click->isChecked());
        EXPECT_NE(fast->isChecked(), government->isChecked());
        EXPECT_EQ(Edit("eFastHex")->isEnabled(), fast->isChecked());
        EXPECT_EQ(Edit("eGovernmentHex")->isEnabled(), government->isChecked());
    }
    // The start-up options change nothing on the other pages.
    QTest::mouseClick(Radio("rbLast"), Qt::LeftButton);
    QTest::mouseClick(Radio("rbSpecified"), Qt::LeftButton);
    QTest::mouseClick(Radio("rbDefault"), Qt::LeftButton);
    EXPECT_TRUE(government->isChecked());
    EXPECT_FALSE(fast->isChecked());
    // The keyboard's space bar works the same.
    fast->setFocus();
    QTest::keyClick(fast, Qt::Key_Space);
    EXPECT_TRUE(fast->isChecked());
    EXPECT_FALSE(government->isChecked());
}

TEST_F(OptionsTest, AppendExtensionIsEnabledOnlyWithoutEncryptedNamesAndKeepsItsState) {
    Settings plainNames;
    plainNames.Engine.EncryptName = false;
    dialog_.LoadSettings(plainNames);
    QCheckBox* append = Check("cbAppendExtension");
    EXPECT_TRUE(append->isEnabled());
    QTest::mouseClick(append, Qt::LeftButton);
    QTest::mouseClick(Check("cbEncryptName"), Qt::LeftButton);
    EXPECT_FALSE(append->isEnabled());
    EXPECT_TRUE(append->isChecked());
    Settings stored;
    dialog_.StoreSettings(stored);
    EXPECT_TRUE(stored.Engine.EncryptName);
    EXPECT_TRUE(stored.Engine.AppendExtension);
}

TEST_F(OptionsTest, TheEditsTakeOnlyTheirCharactersAndKeepTheirEditingKeys) {
    ShowActive();
    QLineEdit* count = Edit("eWipeCount");
    count->setFocus();
    TypeOver(count, "9z -8");
    EXPECT_EQ(count->text(), "98");
    QTest::keyClick(count, Qt::Key_Left);
    QTest::keyClicks(count, "0");
    EXPECT_EQ(count->text(), "908");
    QTest::keyClick(count, Qt::Key_Backspace);
    EXPECT_EQ(count->text(), "98");
    QTest::keyClick(count, Qt::Key_Home);
    QTest::keyClick(count, Qt::Key_Delete);
    EXPECT_EQ(count->text(), "8");
    QTest::keyClicks(count, "12"); // at most 3 characters
    EXPECT_EQ(count->text(), "128");

    QLineEdit* hex = Edit("eFastHex");
    TypeOver(hex, "g1a");
    EXPECT_EQ(hex->text(), "1A") << "hex digits only, in upper case";

    // Ctrl shortcuts work: the count is copied and pasted into the hex edit.
    QTest::keyClick(count, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(count, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "128");
    QGuiApplication::clipboard()->setText("c5");
    hex->selectAll();
    QTest::keyClick(hex, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(hex->text(), "C5");

    // Tab leaves the edit.
    hex->setFocus();
    QTest::keyClick(hex, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), hex);
}

TEST_F(OptionsTest, PastedTextTooLongIsRefusedAndBadTextIsRefusedOnOk) {
    ShowActive();
    QLineEdit* hex = Edit("eFastHex");
    QGuiApplication::clipboard()->setText("0x1F");
    hex->selectAll();
    QTest::keyClick(hex, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(hex->text(), "00");

    QLineEdit* count = Edit("eWipeCount");
    QGuiApplication::clipboard()->setText("x9");
    count->selectAll();
    QTest::keyClick(count, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(count->text(), "x9");
    Child<QPushButton>("bOk")->click();
    EXPECT_EQ(messages_->Texts(),
              std::vector<std::string>{
                  "You have specified an incorrect wipe count. A valid range is 1-100."});
    EXPECT_EQ(count->text(), "1");
    EXPECT_TRUE(dialog_.isVisible());
}

// One refusal of the checks on OK: the message, and the field reset, shown and focused.
struct Refusal {
    const char* name;
    std::function<void(TfOptions&, const std::string& existingFolder)> input;
    MessageKind kind = MessageKind::Information;
    std::string message = ""; // none when OK is accepted
    const char* field = nullptr;
    const char* fieldText = nullptr; // what the field shows afterwards
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.name;
}

void SetText(TfOptions& dialog, const char* edit, const char* text) {
    FormChild<QLineEdit>(&dialog, edit)->setText(text);
}

void ChooseFolder(TfOptions& dialog, const std::string& folder) {
    FormChild<QRadioButton>(&dialog, "rbSpecified")->setChecked(true);
    FormChild<QLineEdit>(&dialog, "eStartupFolder")->setText(QString::fromStdString(folder));
}

Settings WithHexValue(bool fast, int value) {
    Settings settings;
    settings.Engine.FastWipe = fast;
    settings.Engine.HexValue = value;
    return settings;
}

std::string HexRefusal(const char* kind, const char* procedure) {
    return std::string("You have specified an ") + kind + " hex value for the " + procedure +
           " procedure. A valid range is $00-$FF.";
}

const std::string CountIncorrect =
    "You have specified an incorrect wipe count. A valid range is 1-100.";
const std::string CountInvalid =
    "You have specified an invalid wipe count. A valid range is 1-100.";

class OptionsRefusal : public OptionsTest, public testing::WithParamInterface<Refusal> {};

TEST_P(OptionsRefusal, RefusesWithItsMessageAndFocusesTheField) {
    const Refusal& c = GetParam();
    ShowActive();
    Pages()->setCurrentIndex(1);
    c.input(dialog_, folders_.Path().string());
    Child<QPushButton>("bOk")->click();
    if (c.message.empty()) {
        EXPECT_TRUE(messages_->shown.empty()) << messages_->shown[0].text;
        EXPECT_EQ(dialog_.result(), QDialog::Accepted);
        EXPECT_FALSE(dialog_.isVisible());
        return;
    }
    ASSERT_EQ(messages_->shown.size(), 1u);
    EXPECT_EQ(messages_->shown[0].text, c.message);
    EXPECT_EQ(messages_->shown[0].kind, c.kind);
    EXPECT_EQ(messages_->shown[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(dialog_.isVisible());
    QLineEdit* field = Edit(c.field);
    EXPECT_EQ(field->text(), c.fieldText);
    EXPECT_EQ(QApplication::focusWidget(), field);
    EXPECT_TRUE(Pages()->currentWidget()->isAncestorOf(field)) << "its page is shown";
}

INSTANTIATE_TEST_SUITE_P(
    Checks, OptionsRefusal,
    testing::Values(
        Refusal{"FolderEmpty", [](TfOptions& d, auto&) { ChooseFolder(d, ""); },
                MessageKind::Warning, FolderMissing, "eStartupFolder", ""},
        Refusal{"FolderMissing", [](TfOptions& d, auto&) { ChooseFolder(d, "/no/such/folder"); },
                MessageKind::Warning, FolderMissing, "eStartupFolder", "/no/such/folder"},
        Refusal{"FolderThere", [](TfOptions& d, auto& folder) { ChooseFolder(d, folder); }},
        Refusal{"FastHexEmpty", [](TfOptions& d, auto&) { SetText(d, "eFastHex", ""); },
                MessageKind::Information, HexRefusal("incorrect", "Fast Wipe"), "eFastHex", "00"},
        Refusal{"FastHexPastedLetters", [](TfOptions& d, auto&) { SetText(d, "eFastHex", "G1"); },
                MessageKind::Information, HexRefusal("incorrect", "Fast Wipe"), "eFastHex", "00"},
        Refusal{"FastHexStoredAbove255",
                [](TfOptions& d, auto&) { d.LoadSettings(WithHexValue(true, 0x100)); },
                MessageKind::Information, HexRefusal("invalid", "Fast Wipe"), "eFastHex", "00"},
        Refusal{"GovernmentHexEmpty",
                [](TfOptions& d, auto&) {
                    d.LoadSettings(WithHexValue(false, 0));
                    SetText(d, "eGovernmentHex", "");
                },
                MessageKind::Information, HexRefusal("incorrect", "Government Wipe"),
                "eGovernmentHex", "AA"},
        Refusal{"GovernmentHexStoredNegative",
                [](TfOptions& d, auto&) { d.LoadSettings(WithHexValue(false, -1)); },
                MessageKind::Information, HexRefusal("invalid", "Government Wipe"),
                "eGovernmentHex", "AA"},
        Refusal{"GovernmentHexEmptyButFastChosen",
                [](TfOptions& d, auto&) { SetText(d, "eGovernmentHex", ""); }},
        Refusal{"CountEmpty", [](TfOptions& d, auto&) { SetText(d, "eWipeCount", ""); },
                MessageKind::Information, CountIncorrect, "eWipeCount", "1"},
        Refusal{"Count0", [](TfOptions& d, auto&) { SetText(d, "eWipeCount", "0"); },
                MessageKind::Information, CountInvalid, "eWipeCount", "1"},
        Refusal{"Count101", [](TfOptions& d, auto&) { SetText(d, "eWipeCount", "101"); },
                MessageKind::Information, CountInvalid, "eWipeCount", "1"},
        Refusal{"CountStoredNegative",
                [](TfOptions& d, auto&) {
                    Settings settings;
                    settings.Engine.WipeCount = -5;
                    d.LoadSettings(settings);
                },
                MessageKind::Information, CountInvalid, "eWipeCount", "1"},
        Refusal{"Count007", [](TfOptions& d, auto&) { SetText(d, "eWipeCount", "007"); }},
        Refusal{"Count100", [](TfOptions& d, auto&) { SetText(d, "eWipeCount", "100"); }},
        Refusal{"OnlyTheFirstRefusal",
                [](TfOptions& d, auto&) {
                    ChooseFolder(d, "");
                    SetText(d, "eFastHex", "");
                    SetText(d, "eWipeCount", "");
                },
                MessageKind::Warning, FolderMissing, "eStartupFolder", ""}),
    quarn::test::CaseName());

TEST_F(OptionsTest, AcceptedCountOf007IsSeven) {
    dialog_.LoadSettings(Settings{});
    Edit("eWipeCount")->setText("007");
    Child<QPushButton>("bOk")->click();
    Settings stored;
    dialog_.StoreSettings(stored);
    EXPECT_EQ(stored.Engine.WipeCount, 7);
}

TEST_F(OptionsTest, BrowseChoosesTheStartupFolderOrChangesNothing) {
    ShowActive();
    dialog_.LoadSettings(Settings{});
    auto* browse = Child<QToolButton>("SpeedButton1");
    EXPECT_EQ(browse->toolTip(), "Browse for folder");
    messages_->QueueFolder(std::nullopt);
    browse->click();
    EXPECT_TRUE(Radio("rbDefault")->isChecked());
    EXPECT_EQ(Edit("eStartupFolder")->text(), "");

    const std::string folder = folders_ / "Start & here";
    std::filesystem::create_directory(folder);
    messages_->QueueFolder(folder);
    browse->click();
    EXPECT_EQ(messages_->folderRequests,
              (std::vector<std::string>{"Start-up Folder:", "Start-up Folder:"}));
    EXPECT_EQ(Edit("eStartupFolder")->text().toStdString(), folder);
    EXPECT_TRUE(Radio("rbSpecified")->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), Edit("eStartupFolder"));
    Child<QPushButton>("bOk")->click();
    Settings stored;
    dialog_.StoreSettings(stored);
    EXPECT_EQ(stored.Startup, 2);
    EXPECT_EQ(stored.StartupFolder, folder);
}

TEST_F(OptionsTest, F1ShowsTheOptionsTopicAndTheCaptionButtonThatOfThePageShown) {
    UseHelpControl();
    ShowActive();
    QTest::keyRelease(Edit("eWipeCount"), Qt::Key_F1);
    EXPECT_EQ(HelpWindowTitles(), QStringList{"Quarn! Help - Options"});
    const char* const pageTitles[] = {"Quarn! Help - Options: General",
                                      "Quarn! Help - Options: Encryption",
                                      "Quarn! Help - Options: Wiping"};
    for (int page = 0; page < 3; ++page) {
        Pages()->setCurrentIndex(page);
        dialog_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog_));
        QWhatsThis::enterWhatsThisMode();
        EXPECT_FALSE(QWhatsThis::inWhatsThisMode()) << "the form leaves the mode at once";
        QTest::qWait(0);
        QCoreApplication::processEvents();
        EXPECT_EQ(HelpWindowTitles(), QStringList{pageTitles[page]});
    }
    EXPECT_TRUE(messages_->shown.empty());
}

TEST_F(OptionsTest, HelpWithoutTheManualShowsTheError) {
    QTest::keyRelease(Edit("eWipeCount"), Qt::Key_F1);
    EXPECT_EQ(messages_->Texts(),
              std::vector<std::string>{"An unexpected error has occurred: Quarn! was unable to "
                                       "locate the Help Manual. Please re-install Quarn!"});
}

// Edit > Options... through the main window: a Government wipe with hex "A0" chosen in the
// dialog is what is saved, and what the dialog shows when opened again.
TEST_F(OptionsTest, GovernmentWipeChosenIsSavedAndReopenedAsChosen) {
    WhenShown<TfOptions>([](TfOptions& options) {
        QTest::mouseClick(FormChild<QRadioButton>(&options, "rbGovernmentWipe"), Qt::LeftButton);
        QLineEdit* hex = FormChild<QLineEdit>(&options, "eGovernmentHex");
        TypeOver(hex, "a0");
        FormChild<QPushButton>(&options, "bOk")->click();
    });
    Options1Click(host_);
    EXPECT_FALSE(host_.settings.Engine.FastWipe);
    EXPECT_EQ(host_.settings.Engine.HexValue, 0xA0);
    EXPECT_EQ(host_.refreshes, 1);
    {
        TRegistry key;
        ASSERT_TRUE(key.OpenKeyReadOnly(QuarnRegistryKey));
        EXPECT_EQ(key.ReadInteger("FastWipe"), 0);
        EXPECT_EQ(key.ReadInteger("HexValue"), 0xA0);
        EXPECT_EQ(key.ReadInteger("WipeCount"), 1);
    }
    EXPECT_EQ(Describe(ReadSettings(host_.registry).Values), Describe(host_.settings));

    bool shown = false;
    WhenShown<TfOptions>([&shown](TfOptions& options) {
        shown = true;
        EXPECT_TRUE(FormChild<QRadioButton>(&options, "rbGovernmentWipe")->isChecked());
        EXPECT_FALSE(FormChild<QRadioButton>(&options, "rbFastWipe")->isChecked());
        EXPECT_EQ(FormChild<QLineEdit>(&options, "eGovernmentHex")->text(), "A0");
        EXPECT_TRUE(FormChild<QLineEdit>(&options, "eGovernmentHex")->isEnabled());
        EXPECT_EQ(FormChild<QLineEdit>(&options, "eFastHex")->text(), "00");
        EXPECT_FALSE(FormChild<QLineEdit>(&options, "eFastHex")->isEnabled());
        QTest::mouseClick(FormChild<QRadioButton>(&options, "rbFastWipe"), Qt::LeftButton);
        FormChild<QPushButton>(&options, "Button2")->click();
    });
    Options1Click(host_);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(host_.settings.Engine.FastWipe) << "Cancel changes nothing";
    EXPECT_EQ(host_.refreshes, 1);
    EXPECT_TRUE(messages_->shown.empty());
}

TEST_F(OptionsTest, SettingsThatCannotBeSavedStayInEffectWithTheError) {
    // The key is there and opens, but every write fails.
    ASSERT_TRUE(TRegistry().OpenKey(QuarnRegistryKey, true));
    std::filesystem::remove(registryFolder_.Path() / "HKEY_CURRENT_USER.lock");
    std::filesystem::create_directory(registryFolder_.Path() / "HKEY_CURRENT_USER.lock");
    WhenShown<TfOptions>([](TfOptions& options) {
        FormChild<QLineEdit>(&options, "eWipeCount")->setText("3");
        FormChild<QPushButton>(&options, "bOk")->click();
    });
    Options1Click(host_);
    EXPECT_EQ(host_.settings.Engine.WipeCount, 3);
    EXPECT_EQ(messages_->Texts(),
              std::vector<std::string>{
                  "An unexpected error has occurred: Quarn! was unable to save your settings."});
    EXPECT_EQ(host_.refreshes, 1);
    EXPECT_FALSE(QApplication::overrideCursor()) << "the hourglass is gone";
}

// Screen readers hear the two wipe buttons as the radio buttons they are drawn as, with their
// state, and their action on one is a click: the handlers keep the two exclusive.
TEST_F(OptionsTest, WipeButtonsAreRadioButtonsToScreenReadersAndTheirActionClicks) {
    dialog_.LoadSettings(Settings{});
    QRadioButton* fast = Radio("rbFastWipe");
    QRadioButton* government = Radio("rbGovernmentWipe");
    QAccessibleInterface* fastReader = QAccessible::queryAccessibleInterface(fast);
    QAccessibleInterface* governmentReader = QAccessible::queryAccessibleInterface(government);
    ASSERT_TRUE(fastReader != nullptr && governmentReader != nullptr);
    EXPECT_EQ(fastReader->text(QAccessible::Name), "Fast Wipe");
    for (auto [button, reader] :
         {std::pair{government, governmentReader}, std::pair{government, governmentReader},
          std::pair{fast, fastReader}}) {
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_EQ(reader->role(), QAccessible::RadioButton);
        QAccessibleActionInterface* actions = reader->actionInterface();
        ASSERT_NE(actions, nullptr);
        ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
        actions->doAction(QAccessibleActionInterface::toggleAction());
        EXPECT_TRUE(button->isChecked());
        EXPECT_TRUE(reader->state().checkable);
        EXPECT_TRUE(reader->state().checked);
        EXPECT_NE(fast->isChecked(), government->isChecked());
        EXPECT_EQ(fastReader->state().checked, fast->isChecked());
        EXPECT_EQ(Edit("eFastHex")->isEnabled(), fast->isChecked());
        EXPECT_EQ(Edit("eGovernmentHex")->isEnabled(), government->isChecked());
    }
}

} // namespace
} // namespace quarn
